#include "platform/windows/SharedFolder.h"

#include "platform/windows/WindowsApi.h"

#include <vector>

namespace {

// A well-known identifier in DWORDs, which keep it aligned as the ACL calls want it.
std::vector<DWORD> WellKnownSid(WELL_KNOWN_SID_TYPE type)
{
    std::vector<DWORD> sid(SECURITY_MAX_SID_SIZE / sizeof(DWORD));
    DWORD size = SECURITY_MAX_SID_SIZE;
    if (!CreateWellKnownSid(type, nullptr, sid.data(), &size))
        sid.clear();
    return sid;
}

} // namespace

void CreateFolderSharedWithEveryone(const std::wstring& path)
{
    const auto everyone = WellKnownSid(WinWorldSid);
    const auto administrators = WellKnownSid(WinBuiltinAdministratorsSid);
    const auto system = WellKnownSid(WinLocalSystemSid);
    const auto owner = WellKnownSid(WinCreatorOwnerRightsSid);
    if (everyone.empty() || administrators.empty() || system.empty() || owner.empty())
        return;

    // 1024 bytes hold the five entries with room to spare; DWORDs keep the list aligned.
    constexpr DWORD AclBytes = 1024;
    std::vector<DWORD> aclBuffer(AclBytes / sizeof(DWORD));
    auto* acl = reinterpret_cast<ACL*>(aclBuffer.data());
    constexpr DWORD Inherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    const auto sid = [](const std::vector<DWORD>& id) { return const_cast<DWORD*>(id.data()); };
    const bool made = InitializeAcl(acl, AclBytes, ACL_REVISION)
        // The files inside: everyone reads, writes and deletes them (entry only for them).
        && AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE, EveryoneOnFiles,
                                 sid(everyone))
        // The folder itself: everyone lists it and adds and removes files, but may not change
        // its rights, delete or rename it, and so cannot put a link in its place.
        && AddAccessAllowedAceEx(acl, ACL_REVISION, 0, EveryoneOnFolder, sid(everyone))
        // Whoever made the folder owns it, and an owner may change its rights unless an entry
        // for the owner's rights says what the owner gets: no more than everyone.
        && AddAccessAllowedAceEx(acl, ACL_REVISION, 0, EveryoneOnFolder, sid(owner))
        // Administrators and the system keep full control of the folder and all in it.
        && AddAccessAllowedAceEx(acl, ACL_REVISION, Inherited, FILE_ALL_ACCESS, sid(administrators))
        && AddAccessAllowedAceEx(acl, ACL_REVISION, Inherited, FILE_ALL_ACCESS, sid(system));
    if (!made)
        return;

    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    // Protected: the parent's inheritable entries (ProgramData lets users make folders and
    // gives their creators full control) would widen these.
    SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    SECURITY_ATTRIBUTES attributes { sizeof attributes, &descriptor, FALSE };
    CreateDirectoryW(path.c_str(), &attributes);
}
