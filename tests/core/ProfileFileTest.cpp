#include "core/profiles/ProfileFile.h"
#include "core/base/KetriloError.h"
#include "core/profiles/IniFile.h"
#include "core/workspace/CapacityStatus.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace ketrilo;

namespace {

// A profile file in a private temporary folder, removed with the fixture.
class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() /
                   ("ketrilo-profile-" + std::to_string(getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string Write(const std::string& content) {
        const std::string path = (m_folder / ProfileFileName).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    std::string MissingPath() const { return (m_folder / "absent.ini").string(); }

private:
    std::filesystem::path m_folder;
};

std::string WorkedExample(const std::string& items) {
    return "[setting]\nItems=" + items +
           "\n[Item01]\nName=Disc A\nCount=333000\n"
           "[Item02]\nName=Disc B\nCount=360000\n"
           "[Item03]\nName=Disc C\nCount=2298496\n"
           "[Item04]\nCount=12345\n";
}

std::string ErrorOf(const std::vector<std::string>& list, int index) {
    try {
        (void)CapacityForChoice(list, index);
    } catch (const KetriloError& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST_F(ProfileFileTest, WorkedExampleGivesNamesAndCountTexts) {
    const DiscProfiles profiles = LoadDiscProfiles(Write(WorkedExample("4")));
    EXPECT_EQ(profiles.names, (std::vector<std::string>{"Disc A", "Disc B", "Disc C", "-"}));
    EXPECT_EQ(profiles.CapacityList,
              (std::vector<std::string>{"333000", "360000", "2298496", "12345"}));
    EXPECT_EQ(CapacityForChoice(profiles.CapacityList, 0), 333000);
    EXPECT_EQ(CapacityForChoice(profiles.CapacityList, 3), 12345);
}

TEST_F(ProfileFileTest, ItemsCountDecidesHowManySectionsAreRead) {
    const struct {
        const char* items;
        size_t profiles;
    } cases[] = {
        {"2", 2}, {"6", 6},    {"0x3", 3}, {"0", 0},
        {"", 0},  {"four", 0}, {"-3", 0},  {"2147483647", static_cast<size_t>(MaxProfiles)},
    };
    for (const auto& c : cases) {
        const DiscProfiles profiles = LoadDiscProfiles(Write(WorkedExample(c.items)));
        EXPECT_EQ(profiles.names.size(), c.profiles) << c.items;
        EXPECT_EQ(profiles.CapacityList.size(), c.profiles) << c.items;
    }
    const DiscProfiles six = LoadDiscProfiles(Write(WorkedExample("6")));
    EXPECT_EQ(six.names[5], "-");
    EXPECT_EQ(six.CapacityList[5], "0");

    EXPECT_TRUE(LoadDiscProfiles(Write("[setting]\n[Item01]\nName=A\n")).names.empty());
    EXPECT_TRUE(LoadDiscProfiles(MissingPath()).names.empty());
}

TEST_F(ProfileFileTest, SectionNamesHaveAtLeastTwoDigits) {
    std::string content = "[setting]\nItems=100\n";
    for (const char* section : {"Item09", "Item10", "Item99", "Item100"}) {
        content += std::string("[") + section + "]\nName=" + section + "\n";
    }
    const DiscProfiles profiles = LoadDiscProfiles(Write(content));
    ASSERT_EQ(profiles.names.size(), 100u);
    EXPECT_EQ(profiles.names[8], "Item09");
    EXPECT_EQ(profiles.names[9], "Item10");
    EXPECT_EQ(profiles.names[98], "Item99");
    EXPECT_EQ(profiles.names[99], "Item100");
}

TEST_F(ProfileFileTest, ReaderSyntax) {
    const IniFile ini = IniFile::Load(Write("\xEF\xBB\xBF"
                                            "orphan=before any section\r\n"
                                            "; a comment\r\n"
                                            "[ Disc ]\r\n"
                                            "  Name  =  \"Quoted  Value\"  \r\n"
                                            "name=second occurrence\r\n"
                                            "single='kept inside'\r\n"
                                            "mixed=\"not a pair'\r\n"
                                            "empty=\r\n"
                                            ";hidden=1\r\n"
                                            "equation=a=b\r\n"
                                            "no equals sign\r\n"
                                            "[DISC]\r\n"
                                            "name=third occurrence\r\n"
                                            "[other]\r\n"
                                            "japanese=ディスク\n"));
    EXPECT_EQ(ini.Read("disc", "NAME", "?"), "Quoted  Value");
    EXPECT_EQ(ini.Read("Disc", "single", "?"), "kept inside");
    EXPECT_EQ(ini.Read("Disc", "mixed", "?"), "\"not a pair'");
    EXPECT_EQ(ini.Read("Disc", "empty", "?"), "");
    EXPECT_EQ(ini.Read("Disc", "hidden", "?"), "?");
    EXPECT_EQ(ini.Read("Disc", "equation", "?"), "a=b");
    EXPECT_EQ(ini.Read("Disc", "orphan", "?"), "?");
    EXPECT_EQ(ini.Read("Other", "Japanese", "?"), "ディスク");
    EXPECT_EQ(ini.Read("absent", "name", "fallback"), "fallback");
}

TEST_F(ProfileFileTest, LongValuesAreCutTo2047Units) {
    const IniFile ini = IniFile::Load(Write("[s]\nk=" + std::string(3000, '7') + "\n"));
    EXPECT_EQ(ini.Read("s", "k", "").size(), 2047u);
}

TEST_F(ProfileFileTest, ChoosingAnEntry) {
    const std::vector<std::string> list{"333000", "$1000", "-1", "4000MB", "", "2147483648"};
    EXPECT_EQ(CapacityForChoice(list, 0), 333000);
    EXPECT_EQ(CapacityForChoice(list, 1), 4096);
    EXPECT_EQ(CapacityForChoice(list, 2), -1);
    EXPECT_EQ(ErrorOf(list, 3), "''4000MB'' は整数ではありません");
    EXPECT_EQ(ErrorOf(list, 4), "'''' は整数ではありません");
    EXPECT_EQ(ErrorOf(list, 5), "''2147483648'' は整数ではありません");
    EXPECT_EQ(ErrorOf(list, -1), "リストのインデックスが範囲を超えています (-1)");
    EXPECT_EQ(ErrorOf(list, 6), "リストのインデックスが範囲を超えています (6)");
    EXPECT_EQ(ErrorOf({}, 0), "リストのインデックスが範囲を超えています (0)");
}

TEST(ProfileFilePath, BesideTheExecutable) {
    EXPECT_EQ(ProfileFilePath("/opt/ketrilo/bin/ketrilo"), "/opt/ketrilo/bin/ketrilodisclist.ini");
    EXPECT_EQ(ProfileFilePath("/ketrilo"), "/ketrilodisclist.ini");
}

TEST(ProfileFilePath, ShippedProfilesAreAllUsable) {
    const DiscProfiles profiles = LoadDiscProfiles(KETRILO_SHIPPED_PROFILES);
    ASSERT_EQ(profiles.names.size(), 11u);
    // The entry shown at start is the disc whose capacity is in force before any choice.
    EXPECT_EQ(profiles.names[0], "DVD-R");
    EXPECT_EQ(CapacityForChoice(profiles.CapacityList, 0), DefaultCapacityClusters);
    for (size_t i = 0; i < profiles.CapacityList.size(); ++i) {
        EXPECT_GT(CapacityForChoice(profiles.CapacityList, static_cast<int>(i)), 0);
    }
}
