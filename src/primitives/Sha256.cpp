#include "primitives/Sha256.h"

#include "common/Handles.h"

#include <bcrypt.h>

namespace {

using TOpenProvider = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE*, LPCWSTR, LPCWSTR, ULONG);
using TCloseProvider = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, ULONG);
using TCreateHash = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, BCRYPT_HASH_HANDLE*, PUCHAR, ULONG, PUCHAR,
                                      ULONG, ULONG);
using THashData = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
using TFinishHash = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
using TDestroyHash = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE);
using THashOnce = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, PUCHAR, ULONG, PUCHAR, ULONG);

template <typename T> T Proc(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// bcrypt.dll is no known system DLL: it is loaded from the system folder by name, never found
// beside the program (a planted copy there must not run).
HMODULE LoadCng() {
    HMODULE module = LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
        // Windows without the search flags (Vista, 7 before KB2533623): the full path.
        wchar_t system[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(system, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            module = LoadLibraryW((std::wstring(system) + L"\\bcrypt.dll").c_str());
        }
    }
    return module;
}

// The library and one SHA-256 provider for the process's life; CNG lets threads share it.
class TCng {
public:
    static const TCng& Get() {
        static const TCng cng;
        return cng;
    }
    TCng(const TCng&) = delete;
    TCng& operator=(const TCng&) = delete;
    ~TCng() {
        if (FProvider != nullptr) {
            CloseProvider(FProvider, 0);
        }
    }

    bool Ready() const { return FProvider != nullptr && HashData && FinishHash && DestroyHash; }
    DWORD Error() const { return FError; }
    BCRYPT_ALG_HANDLE Provider() const { return FProvider; }

    TCreateHash CreateHash = nullptr;
    THashData HashData = nullptr;
    TFinishHash FinishHash = nullptr;
    TDestroyHash DestroyHash = nullptr;
    THashOnce HashOnce = nullptr; // BCryptHash: Windows 10 on; absent before

private:
    TCng() : FModule(LoadCng()) {
        const HMODULE m = FModule.get();
        if (m == nullptr) {
            FError = GetLastError();
            return;
        }
        const auto open = Proc<TOpenProvider>(m, "BCryptOpenAlgorithmProvider");
        CloseProvider = Proc<TCloseProvider>(m, "BCryptCloseAlgorithmProvider");
        CreateHash = Proc<TCreateHash>(m, "BCryptCreateHash");
        HashData = Proc<THashData>(m, "BCryptHashData");
        FinishHash = Proc<TFinishHash>(m, "BCryptFinishHash");
        DestroyHash = Proc<TDestroyHash>(m, "BCryptDestroyHash");
        HashOnce = Proc<THashOnce>(m, "BCryptHash");
        FError = ERROR_PROC_NOT_FOUND;
        if (open && CloseProvider && CreateHash &&
            open(&FProvider, BCRYPT_SHA256_ALGORITHM, nullptr, 0) < 0) {
            FProvider = nullptr;
            FError = ERROR_NOT_SUPPORTED;
        }
    }

    TUniqueModule FModule;
    TCloseProvider CloseProvider = nullptr;
    BCRYPT_ALG_HANDLE FProvider = nullptr;
    DWORD FError = 0;
};

// One running hash, destroyed however its file's reading ends.
class THash {
public:
    explicit THash(const TCng& cng) : FCng(cng) {
        if (cng.CreateHash(cng.Provider(), &FHandle, nullptr, 0, nullptr, 0, 0) < 0) {
            FHandle = nullptr;
        }
    }
    THash(const THash&) = delete;
    THash& operator=(const THash&) = delete;
    ~THash() {
        if (FHandle != nullptr) {
            FCng.DestroyHash(FHandle);
        }
    }
    bool Add(const unsigned char* data, ULONG size) {
        return FHandle != nullptr && FCng.HashData(FHandle, const_cast<PUCHAR>(data), size, 0) >= 0;
    }
    bool Finish(TSha256& digest) {
        return FHandle != nullptr &&
               FCng.FinishHash(FHandle, digest.data(), static_cast<ULONG>(digest.size()), 0) >= 0;
    }

private:
    const TCng& FCng;
    BCRYPT_HASH_HANDLE FHandle = nullptr;
};

bool HashOnce(const TCng& cng, const unsigned char* data, ULONG size, TSha256& digest) {
    if (cng.HashOnce) {
        return cng.HashOnce(cng.Provider(), nullptr, 0, const_cast<PUCHAR>(data), size,
                            digest.data(), static_cast<ULONG>(digest.size())) >= 0;
    }
    THash hash(cng);
    return hash.Add(data, size) && hash.Finish(digest);
}

TFileDigest Failed(DWORD error) {
    TFileDigest result;
    result.Error = error == 0 ? ERROR_READ_FAULT : error;
    return result;
}

} // namespace

bool Sha256(const void* data, size_t size, TSha256& digest) {
    const TCng& cng = TCng::Get();
    if (!cng.Ready() || size > MAXDWORD) {
        return false;
    }
    return HashOnce(cng, static_cast<const unsigned char*>(data), static_cast<ULONG>(size), digest);
}

HANDLE OpenForHashing(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

TFileDigest FileSha256(const std::wstring& path, std::vector<unsigned char>& buffer) {
    TUniqueFile file(OpenForHashing(path));
    if (!file) {
        return Failed(GetLastError());
    }
    return FileSha256(file.get(), buffer);
}

TFileDigest FileSha256(HANDLE file, std::vector<unsigned char>& buffer) {
    const TCng& cng = TCng::Get();
    if (!cng.Ready()) {
        return Failed(cng.Error());
    }
    if (buffer.empty()) {
        buffer.resize(1 << 20);
    }
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(buffer.size(), 1u << 30));
    DWORD read = 0;
    if (!ReadFile(file, buffer.data(), chunk, &read, nullptr)) {
        return Failed(GetLastError());
    }
    TFileDigest result;
    if (read < chunk) { // the whole file in one piece: one call
        result.Read = HashOnce(cng, buffer.data(), read, result.Digest);
        return result.Read ? result : Failed(ERROR_INVALID_FUNCTION);
    }
    THash hash(cng);
    while (read > 0) {
        if (!hash.Add(buffer.data(), read)) {
            return Failed(ERROR_INVALID_FUNCTION);
        }
        if (!ReadFile(file, buffer.data(), chunk, &read, nullptr)) {
            return Failed(GetLastError());
        }
    }
    result.Read = hash.Finish(result.Digest);
    return result.Read ? result : Failed(ERROR_INVALID_FUNCTION);
}

std::wstring HexDigest(const TSha256& digest) {
    static const wchar_t Digits[] = L"0123456789abcdef";
    std::wstring text;
    for (unsigned char byte : digest) {
        text += Digits[byte >> 4];
        text += Digits[byte & 15];
    }
    return text;
}
