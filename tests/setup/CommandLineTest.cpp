#include "setup/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
    const wchar_t* Line;
    TSetupMode Mode;
    const wchar_t* Dir; // nullptr: not given
    int Driver;         // -1 not given, 0 /NODRIVER, 1 /DRIVER
    const wchar_t* Log;
    bool Help;
    const wchar_t* Error; // the argument reported, "" when none
};

constexpr auto W = TSetupMode::smWizard;
constexpr auto S = TSetupMode::smSilent;
constexpr auto V = TSetupMode::smVerySilent;

const TCase Cases[] = {
    {L"Install.exe", W, nullptr, -1, nullptr, false, L""},
    {L"Install.exe /SILENT", S, nullptr, -1, nullptr, false, L""},
    {L"Install.exe -verysilent", V, nullptr, -1, nullptr, false, L""},
    {L"Install.exe /VerySilent /silent", V, nullptr, -1, nullptr, false, L""},
    // Quoting: around the value, around the whole argument, and none.
    {L"x /DIR=\"C:\\Program Files\\Сонтира\"", W, L"C:\\Program Files\\Сонтира", -1, nullptr, false,
     L""},
    {L"x \"/DIR=C:\\Program Files\\Сонтира\"", W, L"C:\\Program Files\\Сонтира", -1, nullptr, false,
     L""},
    {L"x -dir=D:\\Holter /log=C:\\a=b.log", W, L"D:\\Holter", -1, L"C:\\a=b.log", false, L""},
    {L"x /DIR=", W, L"", -1, nullptr, false, L""},
    {L"x /DIR=\"\"", W, L"", -1, nullptr, false, L""},
    {L"x /DRIVER /driver", W, nullptr, 1, nullptr, false, L""},
    {L"x /NODRIVER", W, nullptr, 0, nullptr, false, L""},
    {L"x /DIR=C:\\A /DIR=C:\\A", W, L"C:\\A", -1, nullptr, false, L""},
    {L"x /?", W, nullptr, -1, nullptr, true, L""},
    {L"x -HELP /VERYSILENT", V, nullptr, -1, nullptr, true, L""},
    // Bad: the first bad argument is named, and the rest is still read.
    {L"x /VERYSILENT /FOO", V, nullptr, -1, nullptr, false, L"/FOO"},
    {L"x /DIR /SILENT", S, nullptr, -1, nullptr, false, L"/DIR"},
    {L"x /LOG= /VERYSILENT", V, nullptr, -1, nullptr, false, L"/LOG="},
    {L"x /DIR=C:\\A /DIR=C:\\B", W, L"C:\\A", -1, nullptr, false, L"/DIR=C:\\B"},
    {L"x /DRIVER /NODRIVER", W, nullptr, 1, nullptr, false, L"/NODRIVER"},
    {L"x /SILENT=1", W, nullptr, -1, nullptr, false, L"/SILENT=1"},
    {L"x C:\\Holter", W, nullptr, -1, nullptr, false, L"C:\\Holter"},
    {L"x /", W, nullptr, -1, nullptr, false, L"/"},
    // A quoted path ending in "\" swallows its closing quote and what follows it.
    {L"x /DIR=\"C:\\A\\\" /SILENT", W, nullptr, -1, nullptr, false, L"/DIR=C:\\A\" /SILENT"},
};

TEST(CommandLineTest, ReadsSwitchesAsInstallersDo) {
    for (const TCase& c : Cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - Cases));
        const TCommandLine parsed = ParseCommandLine(c.Line);
        EXPECT_EQ(parsed.Mode, c.Mode);
        EXPECT_EQ(parsed.Dir.has_value(), c.Dir != nullptr);
        if (c.Dir != nullptr && parsed.Dir) {
            EXPECT_EQ(*parsed.Dir, c.Dir);
        }
        EXPECT_EQ(parsed.Driver ? int(*parsed.Driver) : -1, c.Driver);
        EXPECT_EQ(parsed.Log.value_or(L"<none>"), c.Log ? c.Log : L"<none>");
        EXPECT_EQ(parsed.Help, c.Help);
        EXPECT_EQ(parsed.Error, c.Error);
    }
}

} // namespace

namespace {

TEST(CommandLineTest, ReadsTheRemovalSwitches) {
    const TCommandLine removal =
        ParseCommandLine(L"Install.exe /uninstall \"/DIR=C:\\Сонтира Тест\" /PARENT=4711");
    EXPECT_TRUE(removal.Uninstall);
    EXPECT_EQ(removal.Dir.value_or(L""), L"C:\\Сонтира Тест");
    EXPECT_EQ(removal.Parent.value_or(0), 4711u);
    EXPECT_EQ(removal.Error, L"");

    // The driver stays installed on removal: a script asking otherwise is refused.
    EXPECT_EQ(ParseCommandLine(L"x /NODRIVER /UNINSTALL").Error, L"/NODRIVER");
    EXPECT_EQ(ParseCommandLine(L"x /UNINSTALL /DRIVER").Error, L"/DRIVER");
    for (const wchar_t* bad : {L"x /PARENT=", L"x /PARENT=12a", L"x /PARENT=-1",
                               L"x /PARENT=1234567890", L"x /PARENT=1 /PARENT=2"}) {
        SCOPED_TRACE(testing::Message() << bad);
        EXPECT_NE(ParseCommandLine(bad).Error, L"");
    }
}

TEST(CommandLineTest, ReadsTheCheckSwitchesAndRefusesWhatContradictsThem) {
    const TCommandLine verify = ParseCommandLine(L"Uninstall.exe -verify /VERYSILENT /LOG=c.log");
    EXPECT_TRUE(verify.Verify);
    EXPECT_FALSE(verify.Repair);
    EXPECT_EQ(verify.Mode, TSetupMode::smVerySilent);
    EXPECT_EQ(verify.Error, L"");
    const TCommandLine repair = ParseCommandLine(L"Install.exe /Repair \"/DIR=C:\\Сонтира\"");
    EXPECT_TRUE(repair.Repair);
    EXPECT_EQ(repair.Dir.value_or(L""), L"C:\\Сонтира");
    EXPECT_EQ(repair.Error, L"");

    const std::pair<const wchar_t*, const wchar_t*> bad[] = {
        {L"x /VERIFY /REPAIR", L"/REPAIR"},    {L"x /REPAIR /UNINSTALL", L"/UNINSTALL"},
        {L"x /VERIFY /DRIVER", L"/DRIVER"},    {L"x /NODRIVER /REPAIR", L"/NODRIVER"},
        {L"x /VERIFY /PARENT=12", L"/PARENT"}, {L"x /VERIFY=1", L"/VERIFY=1"},
    };
    for (const auto& [line, error] : bad) {
        SCOPED_TRACE(testing::Message() << line);
        EXPECT_EQ(ParseCommandLine(line).Error, error);
    }
}

TEST(CommandLineTest, ArgumentsTextIsWhatFollowsTheProgram) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"\"C:\\Program Files\\Сонтира\\Uninstall.exe\" /SILENT /LOG=\"C:\\a b.log\"",
         L"/SILENT /LOG=\"C:\\a b.log\""},
        {L"C:\\Holter\\Uninstall.exe   /VERYSILENT", L"/VERYSILENT"},
        {L"\"C:\\Holter\\Uninstall.exe\"", L""},
        {L"Uninstall.exe", L""},
        {L"\"C:\\Holter\\Uninstall.exe\"/SILENT", L"/SILENT"},
    };
    for (const auto& [line, arguments] : cases) {
        EXPECT_EQ(ArgumentsText(line), arguments) << line;
    }
}

} // namespace
