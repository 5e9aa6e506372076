#include "integration/ReleaseInfo.h"

#include "common/ComValues.h"
#include "common/Errors.h"
#include "common/Handles.h"
#include "common/Utf8.h"

#include <msxml2.h>

namespace {

// DOMDocument60 and IXMLDOMDocument2: MinGW's headers have no definition of either.
constexpr CLSID CLSID_DOMDocument6 = {
    0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
constexpr IID IID_XMLDOMDocument2 = {
    0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

TComPtr<IXMLDOMDocument2> CreateDocument() {
    TComPtr<IXMLDOMDocument2> doc;
    CheckHResult(CoCreateInstance(CLSID_DOMDocument6, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_XMLDOMDocument2,
                                  reinterpret_cast<void**>(doc.GetAddressOf())));
    CheckHResult(doc->put_async(VARIANT_FALSE));
    // The file comes from a distribution folder: no DTD, no external entities, so that an
    // entity bomb or a reference to another file cannot reach the parser.
    CheckHResult(doc->put_validateOnParse(VARIANT_FALSE));
    CheckHResult(doc->put_resolveExternals(VARIANT_FALSE));
    TBStr prohibitDtd(L"ProhibitDTD");
    TVariant on(true);
    CheckHResult(doc->setProperty(prohibitDtd.get(), on.get()));
    return doc;
}

std::wstring ParseErrorText(IXMLDOMDocument2* doc) {
    TComPtr<IXMLDOMParseError> parseError;
    TBStr reason;
    long line = 0, column = 0;
    if (FAILED(doc->get_parseError(parseError.GetAddressOf())) || !parseError) {
        return L"no document element";
    }
    parseError->get_reason(reason.put());
    parseError->get_line(&line);
    parseError->get_linepos(&column);
    std::wstring text = reason.str();
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) {
        text.pop_back();
    }
    if (text.empty()) {
        text = L"no document element";
    }
    if (line > 0) {
        text += L" (line " + std::to_wstring(line) + L", column " + std::to_wstring(column) + L")";
    }
    return text;
}

// The document element, or the parser's own reason why there is none.
TComPtr<IXMLDOMElement> LoadDocumentElement(IXMLDOMDocument2* doc, const std::wstring& path) {
    TVariant source(path);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    CheckHResult(doc->load(source.get(), &loaded));
    TComPtr<IXMLDOMElement> element;
    CheckHResult(doc->get_documentElement(element.GetAddressOf()));
    if (element) {
        return element;
    }
    throw EError(L"the file does not load as XML: " + ParseErrorText(doc));
}

// Null (S_FALSE) when nothing matches.
TComPtr<IXMLDOMNode> SelectNode(IXMLDOMNode* context, const std::wstring& query) {
    TBStr text(query);
    TComPtr<IXMLDOMNode> node;
    CheckHResult(context->selectSingleNode(text.get(), node.GetAddressOf()));
    return node;
}

TComPtr<IXMLDOMNode> RequireNode(IXMLDOMNode* context, const std::wstring& query,
                                 const std::wstring& shownName) {
    TComPtr<IXMLDOMNode> node = SelectNode(context, query);
    if (!node) {
        throw EError(L"node " + shownName + L" not found");
    }
    return node;
}

// A missing Version counts as 0; text that is no number raises the conversion's error.
int ReadVersion(IXMLDOMNode* root) {
    TComPtr<IXMLDOMNode> node = SelectNode(root, L"Version");
    if (!node) {
        return 0;
    }
    TVariant value;
    CheckHResult(node->get_nodeTypedValue(value.put()));
    TVariant number;
    const HRESULT hr = VariantChangeType(number.put(), &value.get(), 0, VT_I4);
    if (FAILED(hr)) {
        TBStr text;
        node->get_text(text.put());
        throw EError(L"Version \"" + text.str() + L"\" is not an integer: " +
                     SysErrorMessage(static_cast<DWORD>(hr)));
    }
    return number.get().lVal;
}

void WriteLevel(const std::wstring& path, const std::wstring& Level) {
    TComPtr<IXMLDOMDocument2> doc = CreateDocument();
    TComPtr<IXMLDOMElement> element = LoadDocumentElement(doc.Get(), path);
    TComPtr<IXMLDOMNode> root = RequireNode(element.Get(), L"/ROOT", L"/ROOT");
    if (ReadVersion(root.Get()) != 1) {
        throw EError(L"unknown release file version");
    }
    TComPtr<IXMLDOMNode> level = RequireNode(root.Get(), L"Level", L"/ROOT/Level");
    TVariant value(Level);
    CheckHResult(level->put_nodeTypedValue(value.get()));
    TVariant target(path);
    const HRESULT hr = doc->save(target.get());
    if (FAILED(hr)) {
        throw EError(L"cannot save " + path + L": " + SysErrorMessage(static_cast<DWORD>(hr)));
    }
}

} // namespace

void SetReleaseLevel(const std::wstring& Folder, const std::wstring& Level) {
    TComInit com;
    const std::wstring path = Folder + L"ReleaseInfo";
    if (!FileExists(path)) {
        throw EError(L"Release info file does not exist");
    }
    const std::wstring prefix = L"Cannot get release information, error: ";
    try {
        WriteLevel(path, Level);
    } catch (const EError& e) {
        throw EError(prefix + e.Message());
    } catch (const std::exception& e) {
        throw EError(prefix + Widen(e.what()));
    }
}
