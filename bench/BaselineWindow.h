#pragma once
// The fair baseline of the start-up benchmark: a window doing the same kind of work as the
// program's first frame, maximized as the program is: a menu bar with Chinese titles, the
// same 1024 x 768 JPEG decoded and drawn to the window's size, nine circles and one Chinese
// label. Shared by the in-process spans and the baseline executable that is launched.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <cmath>

namespace baseline {

// Set in a child process: tells the parent at the moment of the first frame, before
// anything that follows it can delay the report.
inline void (*reportFrame)(qint64) = nullptr;

inline constexpr const char *kPicture = DORRIT_SOURCE_DIR "/resources/programfolder/013.jpg";

// The baseline's board: the same background picture decoded and drawn to the window's size,
// and nine circles where the program has its nine slots.
class PaintedSurface : public QWidget
{
public:
    explicit PaintedSurface(const QElapsedTimer &clock)
        : clock_(clock)
        , picture_(QString::fromUtf8(kPicture))
    {}
    bool painted = false;
    qint64 paintedAt = -1;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.drawImage(rect(), picture_);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF centre = QRectF(rect()).center();
        for (int i = 0; i < 9; ++i) {
            p.setPen(QPen(i == 8 ? Qt::red : Qt::blue, 1, i == 8 ? Qt::SolidLine : Qt::DashLine));
            const double angle = i * 3.14159265 / 4;
            const QPointF at = i == 8 ? centre : centre + QPointF(277 * std::sin(angle), -239 * std::cos(angle));
            p.drawEllipse(at, i == 8 ? 95 : 59, i == 8 ? 95 : 59);
        }
        if (!painted) {
            paintedAt = clock_.nsecsElapsed();
            if (reportFrame)
                reportFrame(paintedAt);
        }
        painted = true;
    }

private:
    const QElapsedTimer &clock_;
    QImage picture_;
};

inline void waitUntil(const bool &flag)
{
    for (int i = 0; i < 10000 && !flag; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

inline void fillScreen(QWidget &window)
{
    // As the program does: without a window manager "maximized" alone does nothing.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
}

inline qint64 baselineWindowToFirstFrame()
{
    QElapsedTimer clock;
    clock.start();
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("文件"))->addAction(QStringLiteral("选择词库"));
    window.menuBar()->addMenu(QStringLiteral("帮助"))->addAction(QStringLiteral("帮助主题"));
    auto *surface = new PaintedSurface(clock);
    auto *label = new QLabel(QStringLiteral("欢迎使用Tesmar系列！"), surface);
    label->move(400, 350);
    window.setCentralWidget(surface);
    fillScreen(window);
    waitUntil(surface->painted);
    return surface->painted ? surface->paintedAt : -1;
}

} // namespace baseline
