#include "startup/SettingsFile.h"

#include "platform/AnsiText.h"
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

// Nothing else reads this file; a settings file larger than this is not one of ours.
constexpr qint64 kMaxFileSize = 1 << 20;

} // namespace

SettingsFile::SettingsFile(const QString &programFolder)
    : path_(QDir(programFolder).filePath(fileName))
{}

QByteArray SettingsFile::format(const Settings &s)
{
    SequentialWriter w;
    auto key = [&](int i) { w.writeText(QStringView(kKeys[i])); };
    key(0);
    w.writeNumber(s.settingsVersion);
    w.endRecord();
    key(1);
    w.writeBoolean(s.companionChecked);
    w.endRecord();
    key(2);
    w.writeBoolean(s.shareCompanionFolders);
    w.endRecord();
    key(3);
    w.writeBoolean(s.readAloud);
    w.endRecord();
    key(4);
    w.writeText(s.desktopPicture);
    w.endRecord();
    key(5);
    w.writeBoolean(s.desktopRandom);
    w.endRecord();
    return w.bytes();
}

int SettingsFile::parse(QByteArrayView bytes, Settings &s)
{
    SequentialReader reader(bytes);
    QByteArrayView key;
    QByteArrayView value;
    bool flag = false;
    bool *const booleans[6] = {nullptr, &s.companionChecked, &s.shareCompanionFolders, &s.readAloud,
                               nullptr, &s.desktopRandom};
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
            *booleans[record] = flag;
    }
    return 6;
}

bool SettingsFile::createIfMissing(const Settings &defaults) const
{
    if (QFileInfo::exists(path_))
        return true;
    Settings fresh = defaults;
    fresh.desktopPicture = QStringLiteral("01.jpg");
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
