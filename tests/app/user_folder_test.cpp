// The per-user folder of an installed programmer, filled from the shipped folders.
#include "test_dir.h"
#include "user_folder.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using talvik::app::UserFolder;

namespace {

// An installation under prefix/ (programs in bin/, shipped folders in share/talvik/) and the
// user's data folder home/talvik/.
class UserFolderTest : public testing::Test {
protected:
    UserFolderTest() {
        dir.writeFile(u"prefix/share/talvik/Interface/interface.h"_s, "shipped interface");
        dir.writeFile(u"prefix/share/talvik/Configs/412.set"_s, "shipped 412");
        QDir().mkpath(dir.file(u"prefix/share/talvik/Sounds"_s));
        QDir().mkpath(dir.file(u"prefix/bin"_s));
    }

    [[nodiscard]] bool prepare(const QString& version) const {
        return UserFolder::prepare(dir.file(u"prefix/share/talvik"_s), dir.file(u"home/talvik"_s),
                                   version);
    }

    TestDir dir;
};

TEST_F(UserFolderTest, AnInstalledProgramFindsTheShippedFoldersBesideItsOwn) {
    EXPECT_EQ(UserFolder::shippedFolder(dir.file(u"prefix/bin"_s)),
              dir.file(u"prefix/share/talvik"_s));
}

TEST_F(UserFolderTest, AProgramInABuildTreeHasNoShippedFolders) {
    QDir().mkpath(dir.file(u"build/bin"_s));
    EXPECT_EQ(UserFolder::shippedFolder(dir.file(u"build/bin"_s)), QString());
}

TEST_F(UserFolderTest, TheFirstStartCopiesEveryShippedFile) {
    ASSERT_TRUE(prepare(u"1.0"_s));
    EXPECT_EQ(dir.readFile(u"home/talvik/Configs/412.set"_s), "shipped 412");
}

TEST_F(UserFolderTest, AFolderThatShipsEmptyIsMadeToo) {
    ASSERT_TRUE(prepare(u"1.0"_s));
    EXPECT_TRUE(QFileInfo(dir.file(u"home/talvik/Sounds"_s)).isDir());
}

TEST_F(UserFolderTest, TheUsersChangesToAShippedFileStayUntilAnUpgrade) {
    ASSERT_TRUE(prepare(u"1.0"_s));
    dir.writeFile(u"home/talvik/Configs/412.set"_s, "the user's 412");
    ASSERT_TRUE(prepare(u"1.0"_s));
    EXPECT_EQ(dir.readFile(u"home/talvik/Configs/412.set"_s), "the user's 412");
}

TEST_F(UserFolderTest, AnUpgradeBringsTheNewShippedFiles) {
    ASSERT_TRUE(prepare(u"1.0"_s));
    dir.writeFile(u"prefix/share/talvik/Interface/interface.h"_s, "new interface");
    ASSERT_TRUE(prepare(u"1.1"_s));
    EXPECT_EQ(dir.readFile(u"home/talvik/Interface/interface.h"_s), "new interface");
}

struct UsersFile {
    const char* name;
    const char* path;
};

void PrintTo(const UsersFile& row, std::ostream* out) {
    *out << row.name;
}

class UsersOwnFile : public UserFolderTest, public testing::WithParamInterface<UsersFile> {};

TEST_P(UsersOwnFile, SurvivesAnUpgrade) {
    ASSERT_TRUE(prepare(u"1.0"_s));
    dir.writeFile(u"home/talvik/"_s + QString::fromUtf8(GetParam().path), "mine");
    ASSERT_TRUE(prepare(u"1.1"_s));
    EXPECT_EQ(dir.readFile(u"home/talvik/"_s + QString::fromUtf8(GetParam().path)), "mine");
}

INSTANTIATE_TEST_SUITE_P(UserFolder, UsersOwnFile,
                         testing::Values(UsersFile{"backup", "Backups/0123456789AB/a.set"},
                                         UsersFile{"own_settings_file", "Configs/car.set"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
