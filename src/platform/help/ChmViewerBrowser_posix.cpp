#include "platform/help/ChmViewerBrowser.h"

#include "platform/help/ChmFile.h"
#include "platform/help/HelpSitemap.h"

#include <QDesktopServices>
#include <QStringDecoder>
#include <QTextDocument>

namespace {

// A topic that names its character set is read in it; one that does not is UTF-8 when it is
// valid UTF-8, else the ANSI code page, as the help compiler copied it.
QString decodeTopic(const QByteArray &bytes)
{
    if (bytes.left(2048).toLower().contains("charset")) {
        QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return HelpSitemap::decodeText(bytes);
}

QString missingTopic(const QString &path)
{
    return QStringLiteral("<p>帮助文件中没有“%1”这一页。</p>").arg(path.toHtmlEscaped());
}

} // namespace

ChmViewerBrowser::ChmViewerBrowser(QWidget *parent)
    : QTextBrowser(parent)
{
    // Every link goes through followLink, so a help file cannot open local files.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &ChmViewerBrowser::followLink);
}

QUrl ChmViewerBrowser::topicUrl(const QString &objectPath)
{
    QUrl url;
    url.setScheme(scheme);
    const qsizetype hash = objectPath.indexOf(u'#');
    QString path = hash < 0 ? objectPath : objectPath.left(hash);
    url.setPath(path.startsWith(u'/') ? path : u'/' + path);
    if (hash >= 0)
        url.setFragment(objectPath.mid(hash + 1));
    return url;
}

void ChmViewerBrowser::followLink(const QUrl &link)
{
    const QUrl url = link.isRelative() ? source().resolved(link) : link;
    if (url.scheme() == scheme)
        setSource(url, QTextDocument::HtmlResource);
    else if (url.scheme() == u"http" || url.scheme() == u"https" || url.scheme() == u"mailto")
        QDesktopServices::openUrl(url);
}

QVariant ChmViewerBrowser::loadResource(int type, const QUrl &name)
{
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != scheme || !file_)
        return {};
    const QString path = url.path();
    const std::optional<QByteArray> data = file_->object(path);
    switch (type) {
    case QTextDocument::HtmlResource:
        return data ? decodeTopic(*data) : missingTopic(path);
    case QTextDocument::StyleSheetResource:
        return data ? QVariant(HelpSitemap::decodeText(*data)) : QVariant();
    default:
        return data ? QVariant(*data) : QVariant();
    }
}
