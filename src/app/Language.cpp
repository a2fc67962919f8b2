#include "app/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

#ifndef TOLVEX_TRANSLATIONS_DIR
#define TOLVEX_TRANSLATIONS_DIR "/usr/share/tolvex/translations"
#endif

namespace Language {

namespace {

// "de_AT.UTF-8@euro" -> "de_AT"; "de-at" as some desktops write it -> "de_AT".
QString bare(QString name)
{
    const qsizetype cut = name.indexOf(QRegularExpression(QStringLiteral("[.@]")));
    if (cut >= 0)
        name.truncate(cut);
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    const qsizetype bar = name.indexOf(QLatin1Char('_'));
    if (bar > 0)
        name = name.left(bar).toLower() + QLatin1Char('_') + name.mid(bar + 1).toUpper();
    else
        name = name.toLower();
    return name;
}

} // namespace

QString choose(const QProcessEnvironment &env, const QStringList &available)
{
    QString locale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = env.value(QLatin1String(name));
        if (!locale.isEmpty())
            break;
    }
    locale = bare(locale);
    // As gettext does: in the C locale LANGUAGE is not read.
    if (locale.isEmpty() || locale == QLatin1String("c") || locale == QLatin1String("posix"))
        return {};
    QStringList wanted = env.value(QStringLiteral("LANGUAGE")).split(QLatin1Char(':'));
    wanted.append(locale);
    for (const QString &entry : std::as_const(wanted)) {
        const QString name = bare(entry);
        if (name.isEmpty())
            continue;
        const QString language = name.section(QLatin1Char('_'), 0, 0);
        if (language == QLatin1String("en") || language == QLatin1String("c") ||
            name == QLatin1String("posix"))
            return {};
        if (available.contains(name))
            return name;
        if (available.contains(language))
            return language;
        // Brazilian Portuguese is the one Portuguese there is.
        if (language == QLatin1String("pt") && available.contains(QStringLiteral("pt_BR")))
            return QStringLiteral("pt_BR");
    }
    return {};
}

QStringList folders()
{
    const QString bin = QCoreApplication::applicationDirPath();
    return {QDir::cleanPath(bin + QStringLiteral("/../share/tolvex/translations")),
            QDir::cleanPath(bin + QStringLiteral("/../../share/tolvex/translations")),
            QStringLiteral(TOLVEX_TRANSLATIONS_DIR)};
}

QStringList available(const QString &catalogue)
{
    QStringList languages;
    const QString prefix = catalogue + QLatin1Char('_');
    for (const QString &folder : folders()) {
        const QStringList files =
            QDir(folder).entryList({prefix + QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            const QString language = file.mid(prefix.size()).chopped(3);
            if (!languages.contains(language))
                languages.append(language);
        }
    }
    return languages;
}

QString install(QCoreApplication &app, const QString &catalogue)
{
    const QString language = choose(QProcessEnvironment::systemEnvironment(), available(catalogue));
    if (language.isEmpty())
        return {};
    auto *own = new QTranslator(&app);
    bool loaded = false;
    for (const QString &folder : folders()) {
        if (own->load(catalogue + QLatin1Char('_') + language, folder)) {
            loaded = true;
            break;
        }
    }
    if (!loaded) {
        delete own;
        return {};
    }
    QCoreApplication::installTranslator(own);
    // The toolkit's standard buttons; optional, they come with another package. load() tries
    // qtbase_pt where there is no qtbase_pt_BR.
    auto *toolkit = new QTranslator(&app);
    if (toolkit->load(QStringLiteral("qtbase_") + language,
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(toolkit);
    else
        delete toolkit;
    return language;
}

} // namespace Language
