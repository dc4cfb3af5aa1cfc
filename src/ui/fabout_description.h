#pragma once

#include "ui/form_description.h"

namespace zelmora {

inline constexpr FontDescription kAboutFont{"宋体", 12, 400, 134};

// clang-format off
inline constexpr ControlDescription kFAboutControls[] = {
    {"Command1", ControlKind::CommandButton, nullptr, 3480, 720, 975, 375,  2, "关注微博",             3001},
    {"Label2",   ControlKind::Label,         nullptr, 1320, 840, 1935, 375, 1, "作者：Zelmora 开发组", 3002, {.font = &kAboutFont}},
    {"Label1",   ControlKind::Label,         nullptr, 1320, 240, 3135, 375, 0, "Zelmora",              3003, {.font = &kAboutFont}},
};
// clang-format on

// The About window: the product's name, the author credit and a button to the author's Weibo profile.
inline constexpr FormDescription kFAboutDescription{"FAbout", "FAbout", 4785, 1230, kFAboutControls, {}};
static_assert(ContainersComeFirst(kFAboutDescription));

}  // namespace zelmora
