#include "platform/ConfigHome.h"

#include "common/TestEnv.h"

#include <gtest/gtest.h>

namespace {

TEST(ConfigHomeTest, PrefersAbsoluteXdgConfigHomeOverHome)
{
    testenv::TempHome home;
    EXPECT_EQ(ConfigHome::path(), home.configHome());

    qputenv("XDG_CONFIG_HOME", "/srv/elsewhere/conf/");
    EXPECT_EQ(ConfigHome::path(), QStringLiteral("/srv/elsewhere/conf"));
}

TEST(ConfigHomeTest, FallsBackToHomeConfigWhenXdgIsEmptyOrRelative)
{
    testenv::TempHome home;
    const QString expected = home.path() + QStringLiteral("/.config");
    qputenv("XDG_CONFIG_HOME", "");
    EXPECT_EQ(ConfigHome::path(), expected);
    qputenv("XDG_CONFIG_HOME", "relative/conf");
    EXPECT_EQ(ConfigHome::path(), expected);
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ConfigHome::path(), expected);
}

TEST(ConfigHomeTest, EmptyWithoutUsableHome)
{
    testenv::TempHome home;
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    EXPECT_TRUE(ConfigHome::path().isEmpty());
    qputenv("HOME", "not/absolute");
    EXPECT_TRUE(ConfigHome::path().isEmpty());
}

} // namespace
