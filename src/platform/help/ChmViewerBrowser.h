#pragma once

#include <QTextBrowser>

class ChmFile;

// Shows the topics of one help file: pages, style sheets and pictures come from inside it,
// addressed as chm:/path. Links to the web open in the desktop's browser.
class ChmViewerBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    inline static const QString scheme = QStringLiteral("chm");

    explicit ChmViewerBrowser(QWidget *parent = nullptr);

    void setFile(const ChmFile *file) { file_ = file; }
    static QUrl topicUrl(const QString &objectPath);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    void followLink(const QUrl &url);

    const ChmFile *file_ = nullptr;
};
