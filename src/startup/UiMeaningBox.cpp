#include "startup/UiMeaningBox.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

const QString UiMeaningBox::copyText = QStringLiteral("复制");
const QString UiMeaningBox::selectAllText = QStringLiteral("全选");

namespace {

// Screen readers get the meaning both as the name and as the value of the box.
class AccessibleMeaningBox : public QAccessibleWidget
{
public:
    explicit AccessibleMeaningBox(QWidget *w)
        : QAccessibleWidget(w, QAccessible::StaticText)
    {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name || t == QAccessible::Value)
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *accessibleMeaningBox(const QString &className, QObject *object)
{
    if (className == QLatin1String("UiMeaningBox") && object && object->isWidgetType())
        return new AccessibleMeaningBox(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

UiMeaningBox::UiMeaningBox(QWidget *parent)
    : QLabel(parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(accessibleMeaningBox), true);
    Q_UNUSED(factoryInstalled);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Meanings come from library files: never interpret them as markup.
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setContentsMargins(2, 1, 1, 1);
    // Selection needs a text document behind the label, which costs more than all else the
    // label does: it is made when the pointer or the keyboard first comes to the box.
    setFocusPolicy(Qt::ClickFocus);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

void UiMeaningBox::makeSelectable()
{
    if (textInteractionFlags() != Qt::TextSelectableByMouse)
        setTextInteractionFlags(Qt::TextSelectableByMouse);
}

bool UiMeaningBox::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::FocusIn:
    case QEvent::MouseButtonPress:
    case QEvent::ContextMenu:
    case QEvent::KeyPress:
        makeSelectable();
        break;
    default:
        break;
    }
    return QLabel::event(event);
}

void UiMeaningBox::setText(const QString &text)
{
    if (text == QLabel::text())
        return;
    QLabel::setText(text);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, text);
        QAccessible::updateAccessibility(&event);
    }
}

void UiMeaningBox::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(QColor(0x7a, 0x7a, 0x7a));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    QLabel::paintEvent(event);
}

void UiMeaningBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Not a word selection: a double-click turns the board.
    event->accept();
    emit doubleClicked();
}

void UiMeaningBox::copySelection()
{
    const QString selected = selectedText();
    if (!selected.isEmpty())
        QGuiApplication::clipboard()->setText(selected);
}

void UiMeaningBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *copy = menu.addAction(copyText, this, &UiMeaningBox::copySelection);
    copy->setEnabled(hasSelectedText());
    menu.addAction(selectAllText, this, [this] { setSelection(0, int(text().size())); });
    if (extendMenu)
        extendMenu(&menu);
    menu.exec(event->globalPos());
}

void UiMeaningBox::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Copy) {
        copySelection();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        setSelection(0, int(text().size()));
        return;
    }
    QLabel::keyPressEvent(event);
}
