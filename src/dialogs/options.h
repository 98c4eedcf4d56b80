#pragma once

#include <QDialog>
#include <QRect>
#include <array>
#include <functional>
#include <utility>
#include <vector>

class MessageSink;
class OptionsHost;
class QCheckBox;
class QImage;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

// "Tesmar单词Dorrit选项": the background picture with a preview, the random-background
// flag and reading aloud, shown from and handed back to the settings behind it. OK and Cancel
// hide it; its close box destroys it, so the next opening starts again on the first tab.
class options : public QDialog
{
    Q_OBJECT
public:
    struct Context
    {
        OptionsHost *host = nullptr;
        MessageSink *messages = nullptr;
        // Makes a picture the main window's background.
        std::function<void(const QImage &)> applyBackground;
    };

    explicit options(const Context &context, QWidget *parent = nullptr);

    // Application-modal without a nested event loop: the main window takes no input
    // meanwhile, and the caller (or a test) goes on at once.
    void showModal();

    void Form_Activate();
    void List1_Click();
    void Command1_Click(int index);
    void Command2_Click(int index);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString selectedEntry() const;
    void preview(const QString &name, bool tellUser);
    void tell(const QString &text) const;
    void place(QWidget *control, const QRect &twips);
    void placeOnTabs();

    Context context_;
    // The picture folder of the last opening.
    QString pictureFolder_;
    bool activating_ = false;
    // Every control's design rectangle, in twips from the tab control's corner.
    std::vector<std::pair<QWidget *, QRect>> twipsRects_;

    QTabWidget *SSTab1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QCheckBox *Check1 = nullptr;
    QListWidget *List1 = nullptr;
    QLabel *Image1 = nullptr;
    QCheckBox *Check2 = nullptr;
    std::array<QPushButton *, 3> Command1{};
    std::array<QPushButton *, 3> Command2{};
};
