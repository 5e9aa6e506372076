#include "common/AdminOnly.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

namespace {

// Rights that change a file or what a folder holds.
constexpr DWORD ChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                               FILE_DELETE_CHILD | FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC |
                               WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

std::vector<BYTE> ProcessUser() {
    TUniqueHandle token;
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        return {};
    }
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user.data(), size, &size)) {
        return {};
    }
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    return {static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid)};
}

std::wstring SidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) {
        return L"?";
    }
    const TUniqueLocal hold(text);
    return text;
}

std::vector<BYTE> WellKnown(WELL_KNOWN_SID_TYPE type) {
    std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(sid.size());
    if (!CreateWellKnownSid(type, nullptr, sid.data(), &size)) {
        return {};
    }
    sid.resize(size);
    return sid;
}

// The system, the administrators, this process's user.
class TTrusted {
public:
    TTrusted()
        : FSids{WellKnown(WinLocalSystemSid), WellKnown(WinBuiltinAdministratorsSid),
                ProcessUser()} {}
    bool Contains(PSID sid) const {
        for (const std::vector<BYTE>& trusted : FSids) {
            if (!trusted.empty() && EqualSid(const_cast<BYTE*>(trusted.data()), sid)) {
                return true;
            }
        }
        return false;
    }
    std::wstring User() const {
        return FSids[2].empty() ? std::wstring() : SidText(const_cast<BYTE*>(FSids[2].data()));
    }

private:
    std::vector<BYTE> FSids[3];
};

TUniqueLocal Descriptor(const std::wstring& sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor,
                                                         nullptr);
    return TUniqueLocal(descriptor);
}

// Makes the object owned by the administrators, changeable by the system and them alone; a
// process that may not name them its owner (it runs without their rights) makes it its own
// user's, changeable by that user too.
template <class TMake> auto MakeAdminOnly(const TMake& make) {
    for (const std::wstring& sddl :
         {std::wstring(L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)"),
          L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + TTrusted().User() + L")"}) {
        const TUniqueLocal descriptor = Descriptor(sddl);
        if (!descriptor) {
            break;
        }
        SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
        auto made = make(&attributes);
        if (made || GetLastError() != ERROR_INVALID_OWNER) {
            return made;
        }
    }
    SetLastError(ERROR_INVALID_SECURITY_DESCR);
    return decltype(make(nullptr)){};
}

} // namespace

bool CreateAdminOnlyFolder(const std::wstring& folder) {
    return MakeAdminOnly([&](SECURITY_ATTRIBUTES* attributes) {
        return CreateDirectoryW(folder.c_str(), attributes) != FALSE;
    });
}

TUniqueFile CreateAdminOnlyFile(const std::wstring& path, DWORD access, DWORD share, DWORD flags) {
    return MakeAdminOnly([&](SECURITY_ATTRIBUTES* attributes) {
        return TUniqueFile(CreateFileW(path.c_str(), access, share, attributes, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL | flags, nullptr));
    });
}

std::wstring ChangeableByOthers(HANDLE file) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(file, SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                        &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return L"права доступа не читаются";
    }
    const TUniqueLocal hold(descriptor);
    const TTrusted trusted;
    if (owner == nullptr || !trusted.Contains(owner)) {
        return L"владелец " + (owner == nullptr ? std::wstring(L"не назван") : SidText(owner));
    }
    if (dacl == nullptr) {
        return L"изменять может любой";
    }
    for (WORD index = 0; index < dacl->AceCount; ++index) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, index, reinterpret_cast<void**>(&header))) {
            return L"права доступа не читаются";
        }
        const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
        const bool allows = header->AceType == ACCESS_ALLOWED_ACE_TYPE ||
                            header->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE;
        const bool allowsObject = header->AceType == ACCESS_ALLOWED_OBJECT_ACE_TYPE ||
                                  header->AceType == ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE;
        if ((ace->Mask & ChangeRights) == 0 || !(allows || allowsObject)) {
            continue;
        }
        const PSID sid = const_cast<DWORD*>(&ace->SidStart);
        if (allowsObject || !trusted.Contains(sid)) {
            return L"изменять может " + (allowsObject ? std::wstring(L"объект") : SidText(sid));
        }
    }
    return {};
}
