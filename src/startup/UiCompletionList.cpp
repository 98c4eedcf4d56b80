#include "startup/UiCompletionList.h"

#include "startup/Session.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int meaningRole = Qt::UserRole + 1;
constexpr int preferredWidth = 320;

// A row: the headword, then the start of its meaning in a quieter colour, cut off with
// an ellipsis where the row ends.
class RowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        // A little air between rows, so that each reads as one choice.
        return QStyledItemDelegate::sizeHint(option, index) + QSize(0, 4);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString word = opt.text;
        opt.text.clear();
        const QWidget *widget = opt.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(2, 0, -2, 0);
        const bool selected = opt.state & QStyle::State_Selected;
        const QFontMetrics metrics(opt.font);
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QString shownWord = metrics.elidedText(word, Qt::ElideRight, area.width());
        painter->drawText(area, Qt::AlignVCenter | Qt::AlignLeft, shownWord);
        const int indent = metrics.horizontalAdvance(shownWord) + metrics.horizontalAdvance(QStringLiteral("  "));
        const QRect rest = area.adjusted(indent, 0, 0, 0);
        if (rest.width() > metrics.averageCharWidth()) {
            if (!selected)
                painter->setPen(opt.palette.color(QPalette::PlaceholderText));
            const QString meaning = index.data(meaningRole).toString();
            painter->drawText(rest, Qt::AlignVCenter | Qt::AlignLeft,
                              metrics.elidedText(meaning, Qt::ElideRight, rest.width()));
        }
        painter->restore();
    }
};

} // namespace

UiCompletionList::UiCompletionList(QLineEdit *input, const Session &session, QWidget *parent)
    : QListWidget(parent)
    , input_(input)
    , session_(session)
{
    setObjectName(QStringLiteral("completionList"));
    setAccessibleName(QStringLiteral("单词提示"));
    // The input box keeps the focus: the user goes on typing while the list is open. A
    // click on the list hands the focus on to the box instead of to the board beneath.
    setFocusPolicy(Qt::ClickFocus);
    setFocusProxy(input);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setMouseTracking(true);
    setItemDelegate(new RowDelegate(this));
    setFont(input->font());
    hide();

    input_->installEventFilter(this);
    connect(input_, &QLineEdit::textEdited, this, &UiCompletionList::offer);
    // Set by the program (a random pick, a new library): not typed, so nothing to offer.
    connect(input_, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text != offeredFor_)
            hide();
    });
    connect(this, &QListWidget::itemClicked, this, &UiCompletionList::pick);
}

QStringList UiCompletionList::headwords() const
{
    QStringList out;
    for (int row = 0; row < count(); ++row)
        out << item(row)->text();
    return out;
}

void UiCompletionList::offer(const QString &typed)
{
    offeredFor_ = typed;
    clear();
    for (const Session::Completion &offered : session_.completions(typed)) {
        auto *row = new QListWidgetItem(offered.headword, this);
        row->setData(meaningRole, offered.meaning);
        row->setData(Qt::AccessibleTextRole, offered.headword + QLatin1Char(' ') + offered.meaning);
    }
    if (count() == 0) {
        hide();
        return;
    }
    setCurrentRow(-1);
    place();
    show();
    raise();
}

void UiCompletionList::place()
{
    const QWidget *area = parentWidget();
    const int rowHeight = sizeHintForRow(0);
    const int height = rowHeight * count() + 2 * frameWidth();
    int width = std::max(input_->width(), preferredWidth);
    int left = input_->x();
    if (area) {
        width = std::min(width, area->width());
        left = std::clamp(left, 0, area->width() - width);
    }
    setGeometry(left, input_->geometry().bottom() + 1, width, height);
}

bool UiCompletionList::handleKey(int key)
{
    if (!isVisible()) {
        // Down asks for the list again, after Escape closed it, say.
        if (key != Qt::Key_Down)
            return false;
        offer(input_->text());
        return isVisible();
    }
    switch (key) {
    case Qt::Key_Down:
        setCurrentRow(std::min(currentRow() + 1, count() - 1));
        return true;
    case Qt::Key_Up:
        // Above the first row nothing is chosen, and Enter looks up the typed text again.
        setCurrentRow(std::max(currentRow() - 1, -1));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (QListWidgetItem *chosen = currentItem()) {
            pick(chosen);
            return true;
        }
        hide();
        return false;
    case Qt::Key_Escape:
        hide();
        return true;
    default:
        return false;
    }
}

void UiCompletionList::pick(QListWidgetItem *item)
{
    const QString headword = item->text();
    hide();
    emit picked(headword);
}

void UiCompletionList::showEvent(QShowEvent *event)
{
    // Only to notice a click elsewhere while open.
    qApp->installEventFilter(this);
    QListWidget::showEvent(event);
}

void UiCompletionList::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    QListWidget::hideEvent(event);
}

bool UiCompletionList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != input_) {
        if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
            auto *target = static_cast<QWidget *>(watched);
            if (target != this && !isAncestorOf(target) && target != input_)
                hide();
        }
        return QListWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // While the list is open its keys belong to it, not to any window shortcut.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (isVisible() && (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_Return || key == Qt::Key_Enter ||
                            key == Qt::Key_Escape)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        const auto *press = static_cast<QKeyEvent *>(event);
        if (!(press->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
            handleKey(press->key()))
            return true;
        break;
    }
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
    case QEvent::Hide:
        hide();
        break;
    default:
        break;
    }
    return QListWidget::eventFilter(watched, event);
}
