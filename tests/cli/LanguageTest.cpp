// The language of the texts, from the locale variables, and the terminal program speaking it.
#include "app/Language.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

QString chosen(std::initializer_list<std::pair<const char *, const char *>> variables)
{
    QProcessEnvironment env;
    for (const auto &[name, value] : variables)
        env.insert(QLatin1String(name), QLatin1String(value));
    return Language::choose(env,
                            {QStringLiteral("de"), QStringLiteral("fr"), QStringLiteral("es"),
                             QStringLiteral("it"), QStringLiteral("pt_BR"), QStringLiteral("nl")});
}

} // namespace

TEST(LanguageTest, TheLocaleVariablesPickTheCatalogue)
{
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}}), QStringLiteral("de"));
    EXPECT_EQ(chosen({{"LANG", "de_AT.UTF-8"}}), QStringLiteral("de")) << "the country falls back";
    EXPECT_EQ(chosen({{"LANG", "pt_BR.UTF-8"}}), QStringLiteral("pt_BR"));
    EXPECT_EQ(chosen({{"LANG", "pt_PT.UTF-8"}}), QStringLiteral("pt_BR"));
    EXPECT_EQ(chosen({{"LANG", "nl_BE.UTF-8@euro"}}), QStringLiteral("nl"));
    // LC_ALL before LC_MESSAGES before LANG.
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}),
              QStringLiteral("fr"));
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR"}, {"LC_ALL", "it_IT"}}),
              QStringLiteral("it"));
    // LANGUAGE's list first, the first entry with a catalogue winning; English is always there.
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "sv:es:fr"}}), QStringLiteral("es"));
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "en_GB:fr"}}), QString());
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "sv:ja"}}), QStringLiteral("de"));
    // English, C and POSIX, and nothing set, mean English; the C locale ignores LANGUAGE.
    EXPECT_EQ(chosen({{"LANG", "en_US.UTF-8"}}), QString());
    EXPECT_EQ(chosen({{"LANG", "C"}}), QString());
    EXPECT_EQ(chosen({{"LC_ALL", "C.UTF-8"}, {"LANG", "de_DE.UTF-8"}}), QString());
    EXPECT_EQ(chosen({{"LANG", "POSIX"}, {"LANGUAGE", "de"}}), QString());
    EXPECT_EQ(chosen({{"LANGUAGE", "de"}}), QString());
    EXPECT_EQ(chosen({}), QString());
    EXPECT_EQ(chosen({{"LANG", "sv_SE.UTF-8"}}), QString()) << "no catalogue: English";
}

TEST(LanguageTest, TheTerminalProgramRefusesInTheUsersLanguage)
{
    const QString program =
        qEnvironmentVariable("TOLVEX_BINARY_DIR") + QStringLiteral("/src/cli/tolvex-cli");
    const auto refusal = [&](const char *lang) {
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("LANG"), QLatin1String(lang));
        cli.setProcessEnvironment(env);
        // Refused before any socket is opened.
        cli.start(program, {QStringLiteral("--to"), QStringLiteral("ann")});
        EXPECT_TRUE(cli.waitForFinished(10000));
        EXPECT_EQ(cli.exitCode(), 2);
        return QString::fromUtf8(cli.readAllStandardError()).trimmed();
    };
    EXPECT_EQ(refusal("de_DE.UTF-8"), QStringLiteral("tolvex-cli: --to gehört zu --send"));
    EXPECT_EQ(refusal("pt_BR.UTF-8"), QStringLiteral("tolvex-cli: --to acompanha --send"));
    EXPECT_EQ(refusal("C"), QStringLiteral("tolvex-cli: --to goes with --send"));
}
