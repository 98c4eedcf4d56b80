#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The picture folders "Dorrit桌面/640x480", "…/800x600" and "…/1024x768" under the program
// folder: moving the installed default pictures into them, the choice at start, and the
// listing the options dialog shows. No widgets and no picture decoding here.
class BackgroundPictures
{
public:
    static const QString parentFolderName;

    // One row of installed defaults: the numbered picture becomes "01.jpg", the other "vorn.jpg".
    struct DefaultPicture
    {
        QString source;
        QString target;
    };
    struct DefaultRow
    {
        int resolutionIndex;
        DefaultPicture numbered;
        DefaultPicture vorn;
    };
    static const DefaultRow defaultRows[3];

    // "640x480", "800x600" or "1024x768"; any index other than 1 or 2 is the large layout.
    static QString resolutionText(int resolutionIndex);
    static QString folder(const QString &programFolder, int resolutionIndex);

    // Moves each row whose two sources are both beside the program into its folder. A source
    // is deleted only once its copy reads back identical, so no picture is ever lost.
    static void seed(const QString &programFolder);
    // Copies through a temporary file and compares the result with the source.
    static bool copyVerified(const QString &source, const QString &target);

    // Uniform in [0, 1).
    using Random = std::function<double()>;
    // The picture to show at start: the stored one when random is off and it is there,
    // otherwise one of the folder's ".jpg" files at random, otherwise the stored name
    // (which may be any picture format, or nothing at all).
    static QString chooseAtStart(const QString &folder, const QString &storedPicture, bool desktopRandom,
                                 const Random &random);

    // Ordinary files in the order the file system returns them: no folders, no hidden or
    // system files. With a pattern, only the names it matches (without regard to case, as
    // the pictures' first platform does).
    static QStringList listFiles(const QString &folder, const QString &pattern = QString());

    // A bare file name that names an ordinary file in the folder.
    static bool isInFolder(const QString &folder, const QString &name);
};
