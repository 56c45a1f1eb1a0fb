// A start with a photo on the command line shows the main window's frame,
// with the view all grey, before the photo is decoded: the view's first
// paint decodes it, and a large photo takes a while.
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/StartupFile.h"
#include "platform/WndImpl.h"
#include "tests/app/AppTestSupport.h"

namespace {

const QRgb kRed = qRgb(200, 40, 40);

// What the view's client area showed, and whether the start-up photo was
// still waiting, as each paint pass of the view began.
class CPassWatcher : public QObject {
public:
    explicit CPassWatcher(QWidget* client) : m_client(client) {}

    std::vector<bool> m_photoPending;
    std::vector<QImage> m_shown;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::Paint)
            return false;
        m_photoPending.push_back(g_szStartupFile[0] != '\0');
        QWidget* window = m_client->window();
        const QPoint at = m_client->mapTo(window, QPoint(0, 0));
        m_shown.push_back(window->screen()
                              ->grabWindow(window->winId(), at.x(), at.y(), m_client->width(), m_client->height())
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32));
        return false;
    }

private:
    QWidget* m_client;
};

// Fault caught: the window shows nothing inside its frame until the photo
// named on the command line is decoded.
TEST_F(ViewerTest, StartupPhotoIsDecodedAfterTheFrameIsShownWithTheViewGrey)
{
    const std::string photo = WriteTestPhoto(m_dir.path(), "start.jpg", 320, 240, kRed);
    std::unique_ptr<CPassWatcher> watcher;
    m_beforeShow = [&] {
        watcher = std::make_unique<CPassWatcher>(ClientWidgetOf(m_view));
        ClientWidgetOf(m_view)->installEventFilter(watcher.get());
    };
    Start({ photo });
    ASSERT_TRUE(watcher);
    ClientWidgetOf(m_view)->removeEventFilter(watcher.get());
    ASSERT_GE(watcher->m_photoPending.size(), 2u);
    // The first pass began and ended without the decode ...
    EXPECT_TRUE(watcher->m_photoPending[0]);
    EXPECT_TRUE(watcher->m_photoPending[1]);
    // ... and what it showed is the view's grey.
    const QImage& first = watcher->m_shown[1];
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.pixel(10, 10), kViewGrey);
    EXPECT_EQ(first.pixel(first.width() / 2, first.height() / 2), kViewGrey);
    // The view's own first paint took the photo and drew it.
    EXPECT_STREQ(g_szStartupFile, "");
    EXPECT_EQ(m_view->GetImageWidth(), 320);
    const QImage screen = Screen();
    EXPECT_TRUE(Near(screen.pixel(10, 10), kRed)) << std::hex << screen.pixel(10, 10);
    EXPECT_TRUE(s_messages.empty());
}

}  // namespace
