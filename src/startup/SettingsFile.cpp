#include "startup/SettingsFile.h"

#include "platform/text/AnsiText.h"
#include "worddata/SequentialReader.h"
#include "worddata/SequentialWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

const QString SettingsFile::fileName = QStringLiteral("Dorrit参数.ini");

namespace {

const char16_t *const kKeys[6] = {
    u"版本", u"是否已检测Tesmar单词Graxo", u"是否与Tesmar单词Graxo共享目录", u"是否朗读", u"桌面", u"桌面是否随机"};

// The Boolean record at each position; records 1 and 5 hold the version and the picture.
bool Settings::*const kBooleans[6] = {
    nullptr, &Settings::companionChecked, &Settings::shareCompanionFolders, &Settings::readAloud,
    nullptr, &Settings::desktopRandom};

// Nothing else reads this file; a settings file larger than this is not one of ours.
constexpr qint64 kMaxFileSize = 1 << 20;

} // namespace

SettingsFile::SettingsFile(const QString &programFolder)
    : path_(QDir(programFolder).filePath(fileName))
{}

QByteArray SettingsFile::format(const Settings &s)
{
    SequentialWriter w;
    for (int record = 0; record < 6; ++record) {
        w.writeText(QStringView(kKeys[record]));
        if (record == 0)
            w.writeNumber(s.settingsVersion);
        else if (record == 4)
            w.writeText(s.desktopPicture);
        else
            w.writeBoolean(s.*kBooleans[record]);
        w.endRecord();
    }
    return w.bytes();
}

int SettingsFile::parse(QByteArrayView bytes, Settings &s)
{
    SequentialReader reader(bytes);
    QByteArrayView key;
    QByteArrayView value;
    bool flag = false;
    for (int record = 0; record < 6; ++record) {
        // Keys are never compared: records are matched by position.
        if (!reader.next(key) || !reader.next(value))
            return record;
        if (record == 0)
            continue; // the version is written, never interpreted
        if (record == 4) {
            s.desktopPicture = AnsiText::decode(value);
            continue;
        }
        // A value of the wrong form leaves its variable alone; later records still count.
        if (SequentialReader::toBoolean(value, flag))
            s.*kBooleans[record] = flag;
    }
    return 6;
}

bool SettingsFile::createIfMissing(const Settings &defaults) const
{
    if (QFileInfo::exists(path_))
        return true;
    Settings fresh = defaults;
    fresh.desktopPicture = Settings::firstPicture();
    return writeAll(fresh);
}

bool SettingsFile::read(Settings &settings) const
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(kMaxFileSize);
    return parse(bytes, settings) == 6;
}

bool SettingsFile::writeAll(const Settings &settings) const
{
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(format(settings));
    return file.commit();
}
