#include <windows.h>
#include <msxml2.h>

#include "Files.h"
#include "Installation.h"
#include "Report.h"
#include "Scenario.h"
#include "SuiteFiles.h"
#include "common/ComValues.h"
#include "common/Errors.h"
#include "common/Handles.h"

namespace e2e {
namespace {

// DOMDocument60; MinGW's headers do not define it.
constexpr CLSID CLSID_DOMDocument6 = {
    0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};

// The child elements of ROOT, as name and text, in document order.
std::vector<std::pair<std::wstring, std::wstring>> ReadReleaseInfo(const std::wstring& path) {
    TComPtr<IXMLDOMDocument> doc;
    CheckHResult(CoCreateInstance(CLSID_DOMDocument6, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IXMLDOMDocument,
                                  reinterpret_cast<void**>(doc.GetAddressOf())));
    CheckHResult(doc->put_async(VARIANT_FALSE));
    TVariant file(path);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (doc->load(file.get(), &loaded) != S_OK || loaded != VARIANT_TRUE) {
        Fail(path + L" does not load as XML");
    }
    TBStr query(L"/ROOT/*");
    TComPtr<IXMLDOMNodeList> nodes;
    CheckHResult(doc->selectNodes(query.get(), nodes.GetAddressOf()));
    std::vector<std::pair<std::wstring, std::wstring>> elements;
    for (;;) {
        TComPtr<IXMLDOMNode> node;
        if (nodes->nextNode(node.GetAddressOf()) != S_OK || !node) {
            return elements;
        }
        TBStr name;
        TBStr text;
        CheckHResult(node->get_nodeName(name.put()));
        CheckHResult(node->get_text(text.put()));
        elements.emplace_back(name.str(), text.str());
    }
}

// The lines of a text file without their line ends.
std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        end = end == std::string::npos ? bytes.size() : end;
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// cmd writes in the OEM code page, which may lack letters of the path; compare what it could
// write.
std::string Oem(const std::wstring& text) {
    int len = WideCharToMultiByte(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                  0, nullptr, nullptr);
    std::string out(len, '\0');
    WideCharToMultiByte(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), out.data(), len,
                        nullptr, nullptr);
    return out;
}

} // namespace

void CheckReleaseInfo(TContext& context, const TInstallation& installation) {
    const std::wstring installed = installation.Target + L"ReleaseInfo";
    try {
        auto expected = ReadReleaseInfo(installation.Source + L"\\Updater\\ReleaseInfo");
        for (auto& [name, text] : expected) {
            if (name == L"Level") {
                text = ReleaseLevel;
            }
        }
        const auto actual = ReadReleaseInfo(installed);
        context.Check(actual == expected, installed +
                                              L" does not hold the distribution's "
                                              L"elements with Level " +
                                              ReleaseLevel);
        for (const auto& [name, text] : actual) {
            if (context.Demo() && name == L"Level") {
                context.Note(L"release level in " + installed + L": " + text);
            }
        }
    } catch (const EError& e) {
        context.Check(false, e.Message());
    }
}

void CheckRecords(TContext& context, const TInstallation& installation) {
    const std::wstring record = installation.Target + L"backup-ran.txt";
    std::string bytes;
    context.Check(ReadBytes(record, bytes), L"the backup script left no " + record);
    const auto lines = Lines(bytes);
    context.Check(lines.size() == static_cast<size_t>(installation.Runs),
                  record + L" holds " + std::to_wstring(lines.size()) + L" lines, expected " +
                      std::to_wstring(installation.Runs));
    const std::wstring ran =
        std::wstring(NewestBackup) + L" ran in " + installation.Target + L"backup\\" + NewestBackup;
    context.Check(!lines.empty() && lines.back() == Oem(ran),
                  L"the last line of " + record + L" is not \"" + ran + L"\"");

    const std::wstring driverLog =
        installation.Target + L"FTDIDriverInstall\\FTDIDriverInstall.log";
    if (!installation.Driver) {
        return;
    }
    context.Check(ReadBytes(driverLog, bytes), L"the driver installer left no " + driverLog);
    const auto driverLines = Lines(bytes);
    // Quoted, and started in the setup program's own folder.
    const std::wstring expected = L"ran: \"" + installation.Target +
                                  L"FTDIDriverInstall\\FTDIDriverInstall.exe\" | in: " +
                                  installation.Source;
    context.CheckEqual(driverLines.empty() ? L"" : FromUtf8(driverLines.back()), expected,
                       L"the last line of " + driverLog);
}

} // namespace e2e
