#include "common/ComValues.h"
#include "common/Errors.h"
#include "common/Handles.h"
#include "integration/ReleaseInfo.h"

#include <msxml2.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr CLSID DomDocument6 = {
    0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
constexpr IID DomDocument2 = {
    0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

const std::wstring Prefix = L"Cannot get release information, error: ";

const char* const Shipped = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- release of the suite -->
<ROOT build="8.74">
  <Version>1</Version>
  <Name lang="ru">Сонтира</Name>
  <Level>000000</Level>
  <Notes><![CDATA[a < b]]></Notes>
</ROOT>
)";

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TComPtr<IXMLDOMDocument2> LoadDocument(const fs::path& path) {
    TComPtr<IXMLDOMDocument2> doc;
    CheckHResult(CoCreateInstance(DomDocument6, nullptr, CLSCTX_INPROC_SERVER, DomDocument2,
                                  reinterpret_cast<void**>(doc.GetAddressOf())));
    doc->put_async(VARIANT_FALSE);
    TVariant source(path.wstring());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    CheckHResult(doc->load(source.get(), &loaded));
    EXPECT_EQ(loaded, VARIANT_TRUE);
    return doc;
}

// Every node but the XML declaration, which the DOM rewrites on save.
std::wstring NodesOf(IXMLDOMDocument2* doc) {
    TComPtr<IXMLDOMNodeList> children;
    CheckHResult(doc->get_childNodes(children.GetAddressOf()));
    std::wstring result;
    for (TComPtr<IXMLDOMNode> node;
         children->nextNode(node.ReleaseAndGetAddressOf()) == S_OK && node;) {
        DOMNodeType type;
        node->get_nodeType(&type);
        if (type != NODE_PROCESSING_INSTRUCTION) {
            TBStr xml;
            node->get_xml(xml.put());
            result += xml.str();
        }
    }
    return result;
}

std::wstring ErrorOf(const std::wstring& folder, const std::wstring& level) {
    try {
        SetReleaseLevel(folder, level);
    } catch (const EError& e) {
        return e.Message();
    }
    return L"(no error)";
}

class SetReleaseLevelTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        FFolder = fs::temp_directory_path() / L"release-tests" / info->name();
        fs::remove_all(FFolder);
        fs::create_directories(FFolder);
        FFile = FFolder / L"ReleaseInfo";
    }
    void TearDown() override { fs::remove_all(FFolder); }
    std::wstring Folder() const { return FFolder.wstring() + L"\\"; }

    fs::path FFolder, FFile;
};

TEST_F(SetReleaseLevelTest, SetsLevelAndKeepsEveryOtherNode) {
    WriteBytes(FFile, Shipped);
    TComPtr<IXMLDOMDocument2> expected = LoadDocument(FFile);
    TComPtr<IXMLDOMNode> level;
    TBStr query(L"/ROOT/Level");
    CheckHResult(expected->selectSingleNode(query.get(), level.GetAddressOf()));
    TBStr text(L"150320");
    CheckHResult(level->put_text(text.get()));

    SetReleaseLevel(Folder(), L"150320");

    EXPECT_EQ(NodesOf(LoadDocument(FFile).Get()), NodesOf(expected.Get()));
}

// COM is the routine's own business: a thread that never initialised it may call.
TEST_F(SetReleaseLevelTest, WorksOnAThreadWithoutCom) {
    WriteBytes(FFile, Shipped);
    std::wstring error;
    std::thread([&] { error = ErrorOf(Folder(), L"150320"); }).join();
    EXPECT_EQ(error, L"(no error)");
    EXPECT_NE(ReadBytes(FFile).find("<Level>150320</Level>"), std::string::npos);
}

TEST_F(SetReleaseLevelTest, NoFile) {
    EXPECT_EQ(ErrorOf(Folder(), L"150320"), L"Release info file does not exist");
    fs::create_directory(FFile); // a folder of that name is no file either
    EXPECT_EQ(ErrorOf(Folder(), L"150320"), L"Release info file does not exist");
}

// Every refusal before the save leaves the file as it was, byte for byte.
TEST_F(SetReleaseLevelTest, RefusedFilesStayUnchanged) {
    struct TCase {
        const char* Name;
        std::string Content;
        std::wstring Message; // the whole message, or only the prefix when empty
    };
    const std::wstring unknown = Prefix + L"unknown release file version";
    const TCase cases[] = {
        {"Version 2", "<ROOT><Version>2</Version><Level>000000</Level></ROOT>", unknown},
        {"no Version", "<ROOT><Level>000000</Level></ROOT>", unknown},
        {"Version deeper down", "<ROOT><A><Version>1</Version></A><Level>0</Level></ROOT>",
         unknown},
        {"no Level", "<ROOT><Version>1</Version></ROOT>", Prefix + L"node /ROOT/Level not found"},
        {"another root", "<OTHER><ROOT><Version>1</Version><Level>0</Level></ROOT></OTHER>",
         Prefix + L"node /ROOT not found"},
        {"Version not a number", "<ROOT><Version>one</Version><Level>0</Level></ROOT>", L""},
        {"not XML", "Version=1\r\nLevel=000000\r\n", L""},
        {"unclosed", "<ROOT><Version>1</Version><Level>000000</Level>", L""},
        {"empty", "", L""},
    };
    for (const TCase& c : cases) {
        WriteBytes(FFile, c.Content);
        const std::wstring message = ErrorOf(Folder(), L"150320");
        if (c.Message.empty()) {
            EXPECT_EQ(message.rfind(Prefix, 0), 0u) << c.Name;
            EXPECT_GT(message.size(), Prefix.size()) << c.Name;
        } else {
            EXPECT_EQ(message, c.Message) << c.Name;
        }
        EXPECT_EQ(ReadBytes(FFile), c.Content) << c.Name;
    }
}

// Nested entities that would expand to gigabytes: refused quickly, not expanded.
TEST_F(SetReleaseLevelTest, EntityBombRefused) {
    std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE ROOT [\n<!ENTITY e0 \"lol\">\n";
    for (char i = '1'; i <= '9'; ++i) {
        const std::string reference = std::string("&e") + static_cast<char>(i - 1) + ";";
        bomb += std::string("<!ENTITY e") + i + " \"";
        for (int j = 0; j < 10; ++j) {
            bomb += reference;
        }
        bomb += "\">\n";
    }
    bomb += "]>\n<ROOT><Version>1</Version><Level>&e9;</Level></ROOT>\n";
    WriteBytes(FFile, bomb);

    const auto start = std::chrono::steady_clock::now();
    const std::wstring message = ErrorOf(Folder(), L"150320");
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(message.rfind(Prefix, 0), 0u) << message;
    EXPECT_LT(elapsed, std::chrono::seconds(10));
    EXPECT_EQ(ReadBytes(FFile), bomb);
}

// Another program holds the file open for reading only. (A read-only attribute would be the
// natural case, but Wine running as root writes through it.)
TEST_F(SetReleaseLevelTest, FileThatCannotBeWritten) {
    WriteBytes(FFile, Shipped);
    const TUniqueFile reader(CreateFileW(FFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    const std::wstring message = ErrorOf(Folder(), L"150320");
    EXPECT_EQ(message.rfind(Prefix, 0), 0u) << message;
    EXPECT_GT(message.size(), Prefix.size());
    EXPECT_EQ(ReadBytes(FFile), Shipped);
}

} // namespace
