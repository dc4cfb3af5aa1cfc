// One copy per session, also where the first copy runs elevated and its mutex is closed to this one.

#include <windows.h>

#include <gtest/gtest.h>

#include "app/single_instance.h"

namespace zelmora::testing {
namespace {

TEST(SingleInstance, AMutexThatExistsOrIsDeniedMeansAnotherCopyRuns) {
    {
        const SingleInstance first;
        EXPECT_TRUE(first.First());
        const SingleInstance second;
        EXPECT_FALSE(second.First());
    }
    // As an elevated copy's mutex is to a copy without elevation: no access at all.
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    ACL noAccess;
    InitializeAcl(&noAccess, sizeof noAccess, ACL_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, &noAccess, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    const HANDLE elevated = CreateMutexW(&attributes, FALSE, SingleInstance::kMutexName);
    ASSERT_NE(elevated, nullptr);
    ASSERT_EQ(CreateMutexW(nullptr, FALSE, SingleInstance::kMutexName), nullptr);
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "the system denies the mutex";
    const SingleInstance denied;
    EXPECT_FALSE(denied.First());
    CloseHandle(elevated);
}

}  // namespace
}  // namespace zelmora::testing
