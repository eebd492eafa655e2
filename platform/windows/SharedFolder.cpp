#include "platform/windows/SharedFolder.h"

#include "platform/windows/WindowsApi.h"

#include <vector>

void CreateFolderSharedWithEveryone(const std::wstring& path)
{
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);

    // 1024 bytes hold the one entry with room to spare; DWORDs keep the list aligned as it must be.
    constexpr DWORD AclBytes = 1024;
    std::vector<DWORD> aclBuffer(AclBytes / sizeof(DWORD));
    auto* acl = reinterpret_cast<ACL*>(aclBuffer.data());
    if (!InitializeAcl(acl, AclBytes, ACL_REVISION))
        return;

    // The first call only tells the size of the identifier.
    DWORD sidSize = 0;
    CreateWellKnownSid(WinWorldSid, nullptr, nullptr, &sidSize);
    std::vector<DWORD> sidBuffer((sidSize + sizeof(DWORD) - 1) / sizeof(DWORD));
    CreateWellKnownSid(WinWorldSid, nullptr, sidBuffer.data(), &sidSize);

    // Object and container inheritance: every file and folder created inside gets the entry too.
    if (!AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, FILE_ALL_ACCESS,
                               sidBuffer.data()))
        return;
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);

    SECURITY_ATTRIBUTES attributes { sizeof attributes, &descriptor, FALSE };
    CreateDirectoryW(path.c_str(), &attributes);
}
