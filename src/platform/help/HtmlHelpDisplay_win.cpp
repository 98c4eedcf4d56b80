#include "platform/help/HelpDisplay.h"
#include "platform/text/AnsiText.h"

#include <QDir>

#include <windows.h>

namespace {

constexpr UINT HH_DISPLAY_TOPIC = 0;

using HtmlHelpAFunction = HWND(WINAPI *)(HWND, LPCSTR, UINT, DWORD_PTR);

// HtmlHelpA from hhctrl.ocx, loaded on first use so that the build needs no import library.
class HtmlHelpDisplay final : public HelpDisplay
{
public:
    void displayTopic(const QString &helpFile, quintptr ownerWindow) override
    {
        if (!htmlHelp_) {
            if (!library_)
                library_ = LoadLibraryA("hhctrl.ocx");
            if (!library_)
                return;
            htmlHelp_ =
                reinterpret_cast<HtmlHelpAFunction>(reinterpret_cast<void *>(GetProcAddress(library_, "HtmlHelpA")));
            if (!htmlHelp_)
                return;
        }
        const QByteArray path = AnsiText::encode(QDir::toNativeSeparators(helpFile));
        // The viewer reports a missing file itself; its window handle is not needed.
        htmlHelp_(reinterpret_cast<HWND>(ownerWindow), path.constData(), HH_DISPLAY_TOPIC, 0);
    }

private:
    // Kept loaded for the program's life: the viewer's window lives in this library.
    HMODULE library_ = nullptr;
    HtmlHelpAFunction htmlHelp_ = nullptr;
};

} // namespace

std::unique_ptr<HelpDisplay> makeSystemHelpDisplay()
{
    return std::make_unique<HtmlHelpDisplay>();
}
