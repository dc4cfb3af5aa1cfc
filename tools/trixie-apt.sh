#!/usr/bin/env bash
# apt-get on Debian 13 (trixie) packages of one architecture, from the machine's own Debian mirror, with lists, cache
# and an empty package state of its own in a folder: nothing of the machine's sources, pins or packages changes.
#   tools/trixie-apt.sh FOLDER ARCHITECTURE APT-GET-ARGUMENTS...
# Downloads land in FOLDER/archives; "install --download-only" fetches a package with all it depends on.
set -euo pipefail

dir=$1 arch=$2
shift 2
if [ ! -f "$dir/sources.list" ]; then
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    mirror=$(apt-get indextargets --no-release-info --format '$(REPO_URI) $(RELEASE)' 'Identifier: Packages' |
        awk -v release="$codename" '$2 == release {print $1; exit}')
    [ -n "$mirror" ] || { echo "trixie-apt: no Debian mirror for $codename in the machine's sources" >&2; exit 1; }
    mkdir -p "$dir/lists/partial" "$dir/archives/partial"
    : >"$dir/status"
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror trixie main" >"$dir/sources.list.new"
    mv "$dir/sources.list.new" "$dir/sources.list"
fi
exec apt-get -qq -o Dir::Etc::SourceList="$dir/sources.list" -o Dir::Etc::SourceParts=/dev/null \
    -o Dir::Etc::Preferences=/dev/null -o Dir::Etc::PreferencesParts=/dev/null \
    -o Dir::State::Lists="$dir/lists" -o Dir::State::status="$dir/status" -o Dir::Cache="$dir" \
    -o Dir::Cache::Archives="$dir/archives" -o APT::Architecture="$arch" -o APT::Architectures::="$arch" \
    -o APT::Sandbox::User=root "$@"
