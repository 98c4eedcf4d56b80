#pragma once

#include "wordlist/LibraryMaker.h"

#include <QString>

#include <functional>

class WordSource;

// A word list file made into a library of the data folder: the list read, the files made,
// both written whole through QSaveFile. Bad input writes nothing.
class LibraryFromList
{
public:
    enum class Status { Made, Cancelled, Exists, Failed };
    struct Outcome
    {
        Status status = Status::Failed;
        // The report when made, else what went wrong (empty when cancelled).
        QString text;
        int wordCount = 0;
    };
    struct Request
    {
        QString listPath;
        QString name;
        QString dataFolder;
        // An existing library of the name is replaced only when true.
        bool overwrite = false;
        // Asked with the number of words once the list has been read; false cancels.
        std::function<bool(int wordCount)> confirm = {};
        // Words named at most in each list of the report (0: all).
        int reportLimit = 0;
    };

    static constexpr qint64 maxListBytes = 64 << 20;

    static Outcome make(const Request &request, const WordSource &source);

    // Why name cannot be a library's name on Windows or here; empty when it can.
    static QString nameProblem(const QString &name);
    static bool exists(const QString &dataFolder, const QString &name);
    // Both files, or neither when anything fails (problem says why).
    static bool write(const QString &dataFolder, const QString &name, const LibraryMaker::Files &files,
                      QString &problem);
};
