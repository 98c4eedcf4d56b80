#pragma once

#include <QMainWindow>

#include <memory>

class ChmFile;
class ChmViewerBrowser;
class QAction;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The help viewer where the system has none: the table of contents and the index of a .chm
// beside its topics, with Back, Forward and Home. A help file that cannot be shown gets a
// message that names it.
class ChmViewer : public QMainWindow
{
    Q_OBJECT
public:
    explicit ChmViewer(QWidget *parent = nullptr);
    ~ChmViewer() override;

    // Shows the file's default topic; an unreadable file shows the message instead.
    void openFile(const QString &path);

    ChmViewerBrowser *browser() const { return topic_; }

    static QString failureMessage(int error, const QString &path);

private:
    void showMessage(const QString &text);
    void fillContents();
    void fillIndex();
    void showTopic(const QString &local);
    void filterIndex(const QString &text);
    void markContents(const QUrl &url);

    std::unique_ptr<ChmFile> file_;
    QString homeTopic_;
    ChmViewerBrowser *topic_ = nullptr;
    QTabWidget *sidebar_ = nullptr;
    QTreeWidget *contents_ = nullptr;
    QLineEdit *indexFilter_ = nullptr;
    QListWidget *index_ = nullptr;
    QAction *back_ = nullptr;
    QAction *forward_ = nullptr;
    QAction *home_ = nullptr;
};
