#include "app/SettingsFile.h"

#include "app/CodeCript.h"
#include "app/IniFile.h"
#include "app/NameRules.h"
#include "app/Support.h"

#include <QCoreApplication>
#include <QSet>

namespace {

const QByteArray ServerSection = QByteArrayLiteral("Server");
const QByteArray UserSection = QByteArrayLiteral("User");
const QByteArray ChannelsSection = QByteArrayLiteral("Channels");
const QByteArray RestrictionsSection = QByteArrayLiteral("Restrictions");
const QByteArray NetworksSection = QByteArrayLiteral("Networks");
const QByteArray DefaultPort = QByteArrayLiteral("5040");

// The version section is named after the program; decoded at each use like every constant.
QByteArray versionSection()
{
    return CodeCript::Decode(CodeCript::DisplayName);
}

QByteArray channelKey(qsizetype number)
{
    return QByteArrayLiteral("Channel") + QByteArray::number(number);
}

QByteArray targetKey(qsizetype number)
{
    return QByteArrayLiteral("Target") + QByteArray::number(number);
}

QByteArray heardKey(qsizetype number)
{
    return QByteArrayLiteral("Heard") + QByteArray::number(number);
}

ChannelSettings readChannels(const IniDocument &doc)
{
    ChannelSettings result;
    // The key names are listed once: the existence test sees the same list on every round.
    QSet<QByteArray> present;
    for (const QByteArray &name : doc.keyNames(ChannelsSection))
        present.insert(IniDocument::foldName(name));
    // The numbering ends at the first missing key; an empty value is skipped without ending it.
    for (qsizetype n = 0; present.contains(IniDocument::foldName(channelKey(n))); ++n) {
        const QByteArray name = doc.readString(ChannelsSection, channelKey(n), {});
        if (!name.isEmpty())
            result.channels.append(name);
    }
    const auto find = [&result](const QByteArray &name) {
        const QByteArray wanted = NameRules::foldCase(name);
        for (qsizetype i = 0; i < result.channels.size(); ++i) {
            if (NameRules::foldCase(result.channels[i]) == wanted)
                return static_cast<int>(i);
        }
        return -1;
    };
    if (!result.channels.isEmpty())
        result.selected = find(doc.readString(ChannelsSection, "Selected", {}));
    // No channel selected would mean an empty one, which every peer ignores: the copy would
    // be invisible. It takes the default channel instead, added when the list lacks it, as
    // an emptied channel box does.
    if (result.selected < 0) {
        const QByteArray fallback = CodeCript::Decode(CodeCript::DefaultChannel);
        result.selected = find(fallback);
        if (result.selected < 0) {
            result.channels.append(fallback);
            result.selected = static_cast<int>(result.channels.size() - 1);
        }
    }
    result.text = result.channels[result.selected];
    // Only names still in the list count; the numbering ends at the first missing key.
    QSet<QString> listed;
    for (const QByteArray &name : result.channels)
        listed.insert(QString::fromLatin1(NameRules::foldCase(name)));
    for (qsizetype n = 0; present.contains(IniDocument::foldName(heardKey(n))); ++n) {
        const QByteArray name = doc.readString(ChannelsSection, heardKey(n), {});
        if (listed.contains(QString::fromLatin1(NameRules::foldCase(name))))
            result.heard.append(name);
    }
    return result;
}

// The writes of one save, in the order key-by-key writing would make them.
void writeSettings(IniDocument &doc, const SettingsValues &values, const ChannelSettings &channels)
{
    doc.writeString(versionSection(), "Version", SettingsFormatVersion);
    doc.writeString(ServerSection, "Port", values.Port);
    // An interface not chosen yet leaves the stored one alone.
    if (!values.Interface.isEmpty())
        doc.writeString(ServerSection, "Interface", values.Interface);
    doc.writeString(UserSection, "Name", values.UserName);
    // Erased and written anew so that no key of a longer earlier list survives.
    doc.eraseSection(ChannelsSection);
    doc.writeString(ChannelsSection, "Selected", channels.text);
    doc.writeString(ChannelsSection, "AutoAdd", values.AutoAdd ? "1" : "0");
    for (qsizetype i = 0; i < channels.channels.size(); ++i)
        doc.writeString(ChannelsSection, channelKey(i), channels.channels[i]);
    for (qsizetype i = 0; i < channels.heard.size(); ++i)
        doc.writeString(ChannelsSection, heardKey(i), channels.heard[i]);
    // A file that never had other networks gets no section for them.
    if (!values.Targets.isEmpty() || !doc.keyNames(NetworksSection).isEmpty()) {
        doc.eraseSection(NetworksSection);
        for (qsizetype i = 0; i < values.Targets.size(); ++i)
            doc.writeString(NetworksSection, targetKey(i), values.Targets[i]);
    }
}

// The numbering ends at the first missing key; an empty value is skipped without ending it.
QList<QByteArray> readTargets(const IniDocument &doc)
{
    QSet<QByteArray> present;
    for (const QByteArray &name : doc.keyNames(NetworksSection))
        present.insert(IniDocument::foldName(name));
    QList<QByteArray> result;
    for (qsizetype n = 0; present.contains(IniDocument::foldName(targetKey(n))); ++n) {
        const QByteArray value = doc.readString(NetworksSection, targetKey(n), {}).trimmed();
        if (!value.isEmpty())
            result.append(value);
    }
    return result;
}

// What a version reset keeps of a stored file: the administrator's locks, sections this
// version does not know (a newer version's) and comments. The sections this version writes
// lose their keys, so that no key of another version's layout lingers in them.
IniDocument resetDocument(IniDocument doc)
{
    for (const QByteArray &section : {versionSection(), ServerSection, UserSection})
        doc.eraseKeys(section);
    doc.eraseSection(ChannelsSection);
    return doc;
}

QString tooLargeMessage(const QString &path)
{
    return QCoreApplication::translate("SettingsFile",
                                       "The settings file %1 is too large to read (more than %2 "
                                       "MiB); it was left as it is")
        .arg(path)
        .arg(IniFile::MaxFileSize / (1024 * 1024));
}

// Writes the settings into base and replaces the file with it. Without a base (a file that
// exists but cannot be read) nothing is replaced: that would lose the keys this program does
// not write, the locks among them.
bool writeFile(const SettingsValues &values, const ChannelSettings &channels,
               std::optional<IniDocument> doc, IniFile::LoadError loadError,
               const SettingsErrorReport &report)
{
    if (values.Path.isEmpty()) {
        if (report)
            report(QCoreApplication::translate("SettingsFile",
                                               "Unable to write the settings: no folder for them "
                                               "is known (neither XDG_CONFIG_HOME nor HOME names "
                                               "one)"));
        return false;
    }
    bool written = false;
    if (doc) {
        writeSettings(*doc, values, channels);
        written = IniFile::save(values.Path, *doc);
    }
    if (!written && report) {
        report(loadError == IniFile::LoadError::TooLarge
                   ? tooLargeMessage(values.Path)
                   : QCoreApplication::translate("SettingsFile", "Unable to write to %1")
                         .arg(values.Path));
    }
    return written;
}

} // namespace

LoadedSettings LoadSettings(SettingsValues &values, const SettingsHooks &hooks)
{
    // A file that cannot be read counts as missing: every value takes its default.
    IniFile::LoadError loadError = IniFile::LoadError::None;
    const std::optional<IniDocument> stored = IniFile::load(values.Path, &loadError);
    const IniDocument doc = stored.value_or(IniDocument());
    LoadedSettings loaded;

    const QByteArray version = doc.readString(versionSection(), "Version", {});
    values.Port = doc.readString(ServerSection, "Port", DefaultPort);
    values.Interface = doc.readString(ServerSection, "Interface", {});
    // After the interface: the default name falls back to it.
    values.UserName = doc.readString(UserSection, "Name", DefaultUserName(values.Interface));
    loaded.channels = readChannels(doc);
    values.AutoAdd = doc.readBool(ChannelsSection, "AutoAdd", true);
    values.Targets = readTargets(doc);
    loaded.restrictions.configurationLocked =
        doc.readBool(RestrictionsSection, "Configuration", false);
    loaded.restrictions.channelsLocked = doc.readBool(RestrictionsSection, "Channels", false);

    loaded.firstRun = version.isEmpty();
    if (loaded.firstRun && hooks.firstRun)
        hooks.firstRun();
    if (version != SettingsFormatVersion) {
        // Written in one step rather than deleted and rewritten: a refused write leaves the
        // old file instead of none. A file that could not be read was never seen, so it is
        // not wiped either.
        loaded.versionReset = true;
        writeFile(values, loaded.channels,
                  stored ? std::optional(resetDocument(*stored)) : std::nullopt, loadError,
                  hooks.reportError);
    }
    return loaded;
}

ChannelSettings LoadChannels(const QString &path)
{
    return readChannels(IniFile::load(path).value_or(IniDocument()));
}

bool SaveSettings(const SettingsValues &values, const ChannelSettings &channels,
                  const SettingsErrorReport &reportError)
{
    IniFile::LoadError loadError = IniFile::LoadError::None;
    std::optional<IniDocument> doc = IniFile::load(values.Path, &loadError);
    return writeFile(values, channels, std::move(doc), loadError, reportError);
}
