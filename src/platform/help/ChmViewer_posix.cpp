#include "platform/help/ChmViewer.h"

#include "platform/help/ChmFile.h"
#include "platform/help/ChmViewerBrowser.h"
#include "platform/help/HelpSitemap.h"
#include "platform/programs/ProgramName.h"

#include <QAction>
#include <QCollator>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kTitle = programName() + QStringLiteral(" 帮助");
constexpr int localRole = Qt::UserRole;

QString sameTopic(const QUrl &url)
{
    return url.path().toLower();
}

} // namespace

ChmViewer::ChmViewer(QWidget *parent)
    : QMainWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("helpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kTitle);
    resize(860, 620);

    topic_ = new ChmViewerBrowser(this);
    topic_->setObjectName(QStringLiteral("topic"));

    contents_ = new QTreeWidget(this);
    contents_->setObjectName(QStringLiteral("contents"));
    contents_->setHeaderHidden(true);
    connect(contents_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { showTopic(item->data(0, localRole).toString()); });
    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { showTopic(item->data(0, localRole).toString()); });

    auto *indexPage = new QWidget(this);
    indexFilter_ = new QLineEdit(indexPage);
    indexFilter_->setObjectName(QStringLiteral("indexFilter"));
    indexFilter_->setPlaceholderText(QStringLiteral("键入要查找的关键字"));
    index_ = new QListWidget(indexPage);
    index_->setObjectName(QStringLiteral("index"));
    auto *indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(indexFilter_);
    indexLayout->addWidget(index_);
    connect(indexFilter_, &QLineEdit::textChanged, this, &ChmViewer::filterIndex);
    connect(indexFilter_, &QLineEdit::returnPressed, this, [this] {
        if (QListWidgetItem *item = index_->currentItem())
            showTopic(item->data(localRole).toString());
    });
    connect(index_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { showTopic(item->data(localRole).toString()); });
    connect(index_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showTopic(item->data(localRole).toString()); });

    sidebar_ = new QTabWidget(this);
    sidebar_->setObjectName(QStringLiteral("sidebar"));
    sidebar_->addTab(contents_, QStringLiteral("目录"));
    sidebar_->addTab(indexPage, QStringLiteral("索引"));

    auto *splitter = new QSplitter(this);
    splitter->addWidget(sidebar_);
    splitter->addWidget(topic_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 630});
    setCentralWidget(splitter);

    QToolBar *tools = addToolBar(QStringLiteral("导航"));
    tools->setObjectName(QStringLiteral("navigation"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_ = tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("后退"));
    back_->setObjectName(QStringLiteral("back"));
    back_->setShortcut(QKeySequence::Back);
    forward_ = tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("前进"));
    forward_->setObjectName(QStringLiteral("forward"));
    forward_->setShortcut(QKeySequence::Forward);
    home_ = tools->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("主页"));
    home_->setObjectName(QStringLiteral("home"));
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QAction::triggered, topic_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, topic_, &QTextBrowser::forward);
    connect(home_, &QAction::triggered, this, [this] { showTopic(homeTopic_); });
    connect(topic_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(topic_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(topic_, &QTextBrowser::sourceChanged, this, &ChmViewer::markContents);
}

ChmViewer::~ChmViewer() = default;

QString ChmViewer::failureMessage(int error, const QString &path)
{
    const QString name = QDir::toNativeSeparators(path);
    switch (ChmFile::Error(error)) {
    case ChmFile::Error::Missing:
        return QStringLiteral("找不到帮助文件“%1”。请确认它和程序放在同一个文件夹里。").arg(name);
    case ChmFile::Error::Unreadable:
        return QStringLiteral("无法读取帮助文件“%1”。请检查它的访问权限。").arg(name);
    case ChmFile::Error::NotHelpFile:
        return QStringLiteral("帮助文件“%1”已损坏或不是帮助文件，无法显示。请重新安装程序。").arg(name);
    case ChmFile::Error::None:
        break;
    }
    return QStringLiteral("帮助文件“%1”中没有可以显示的主题。").arg(name);
}

void ChmViewer::openFile(const QString &path)
{
    // The old file stays readable until the new one replaces it in the browser.
    auto file = std::make_unique<ChmFile>(path);
    topic_->setFile(nullptr);
    topic_->clearHistory();
    contents_->clear();
    index_->clear();
    file_ = std::move(file);
    homeTopic_.clear();
    if (!file_->isOpen()) {
        showMessage(failureMessage(int(file_->error()), path));
        return;
    }
    topic_->setFile(file_.get());
    setWindowTitle(file_->title().isEmpty() ? kTitle : file_->title());
    fillContents();
    fillIndex();

    homeTopic_ = file_->defaultTopic();
    if (homeTopic_.isEmpty() || !file_->object(homeTopic_)) {
        homeTopic_.clear();
        for (QTreeWidgetItemIterator it(contents_); *it && homeTopic_.isEmpty(); ++it)
            homeTopic_ = (*it)->data(0, localRole).toString();
    }
    if (homeTopic_.isEmpty()) {
        showMessage(failureMessage(int(ChmFile::Error::None), path));
        return;
    }
    sidebar_->setEnabled(true);
    home_->setEnabled(true);
    showTopic(homeTopic_);
}

void ChmViewer::showMessage(const QString &text)
{
    sidebar_->setEnabled(false);
    home_->setEnabled(false);
    setWindowTitle(kTitle);
    topic_->setHtml(QStringLiteral("<h2>无法显示帮助</h2><p>%1</p>").arg(text.toHtmlEscaped()));
}

void ChmViewer::showTopic(const QString &local)
{
    if (!local.isEmpty())
        topic_->setSource(ChmViewerBrowser::topicUrl(local), QTextDocument::HtmlResource);
}

void ChmViewer::fillContents()
{
    const std::optional<QByteArray> text = file_->contentsFile().isEmpty() ? file_->object(QStringLiteral("/toc.hhc"))
                                                                           : file_->object(file_->contentsFile());
    if (!text)
        return;
    QList<QTreeWidgetItem *> parents;
    for (const HelpSitemap::Entry &entry : HelpSitemap::parse(*text)) {
        const int depth = qMin(entry.depth, int(parents.size()));
        parents.resize(depth);
        auto *item = depth == 0 ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.last());
        item->setText(0, entry.name.isEmpty() ? entry.local : entry.name);
        item->setData(0, localRole, entry.local);
        parents.append(item);
    }
    contents_->expandAll();
}

void ChmViewer::fillIndex()
{
    const std::optional<QByteArray> text =
        file_->indexFile().isEmpty() ? std::nullopt : file_->object(file_->indexFile());
    if (!text)
        return;
    QList<HelpSitemap::Entry> entries = HelpSitemap::parse(*text);
    // Chinese keywords in the order a Chinese dictionary gives them (by pinyin).
    QCollator order(QLocale(QLocale::Chinese, QLocale::China));
    std::stable_sort(entries.begin(), entries.end(),
                     [&order](const auto &a, const auto &b) { return order.compare(a.name, b.name) < 0; });
    for (const HelpSitemap::Entry &entry : entries) {
        if (entry.name.isEmpty() || entry.local.isEmpty())
            continue;
        auto *item = new QListWidgetItem(entry.name, index_);
        item->setData(localRole, entry.local);
    }
}

void ChmViewer::filterIndex(const QString &text)
{
    for (int row = 0; row < index_->count(); ++row) {
        QListWidgetItem *item = index_->item(row);
        if (item->text().startsWith(text, Qt::CaseInsensitive)) {
            index_->setCurrentItem(item);
            index_->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void ChmViewer::markContents(const QUrl &url)
{
    const QString shown = sameTopic(url);
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        const QString local = (*it)->data(0, localRole).toString();
        if (!local.isEmpty() && sameTopic(ChmViewerBrowser::topicUrl(local)) == shown) {
            const QSignalBlocker quiet(contents_);
            contents_->setCurrentItem(*it);
            return;
        }
    }
}
