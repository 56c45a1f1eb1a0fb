#include "tests/app/AppTestSupport.h"

#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>
#include <cstdlib>

#include "codec/JpegConverter.h"
#include "platform/MessageBox.h"
#include "platform/ModalRunner.h"
#include "platform/WndImpl.h"
#include "platform/WndTester.h"

std::vector<std::string> ViewerTest::s_messages;

std::string WriteTestPhoto(const QString& dir, const char* name, int w, int h, QRgb color)
{
    std::vector<unsigned char> pixels((size_t)w * h * 3);
    for (size_t i = 0; i < (size_t)w * h; ++i) {
        pixels[i * 3] = (unsigned char)qRed(color);
        pixels[i * 3 + 1] = (unsigned char)qGreen(color);
        pixels[i * 3 + 2] = (unsigned char)qBlue(color);
    }
    return WriteTestFile(dir, name, EncodeTestPhoto(pixels.data(), w, h));
}

std::vector<unsigned char> EncodeTestPhoto(const unsigned char* rgb, int w, int h, int quality)
{
    CJpegConverter converter;
    converter.m_nQuality = quality;
    unsigned char* jpeg = converter.Encode(rgb, w, h);
    std::vector<unsigned char> bytes;
    if (jpeg)
        bytes.assign(jpeg, jpeg + converter.GetSize());
    free(jpeg);
    return bytes;
}

std::string WriteTestFile(const QString& dir, const std::string& name, const std::vector<unsigned char>& bytes)
{
    const std::string path = dir.toStdString() + "/" + name;
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path;
    file.write(reinterpret_cast<const char*>(bytes.data()), (qint64)bytes.size());
    return path;
}

bool Near(QRgb a, QRgb b, int tolerance)
{
    return abs(qRed(a) - qRed(b)) <= tolerance && abs(qGreen(a) - qGreen(b)) <= tolerance &&
           abs(qBlue(a) - qBlue(b)) <= tolerance;
}

static int RecordMessage(const char* text, UINT)
{
    ViewerTest::s_messages.push_back(text);
    return IDOK;
}

void ViewerTest::SetUp()
{
    s_messages.clear();
    SetMessageBoxHandler(RecordMessage);
    SetModalRunner([this](QDialog& dialog) {
        m_dialogTitles.push_back(dialog.windowTitle().toStdString());
        return m_onDialog ? m_onDialog(dialog) : (int)QDialog::Rejected;
    });
    // Each test starts with empty settings and an empty thumbnail cache.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    QDir(config + "/Quillon Works").removeRecursively();
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!cache.isEmpty())
        QDir(cache + "/pixmoor").removeRecursively();
}

void ViewerTest::CloseApp()
{
    if (m_app) {
        if (m_app->m_pMainWnd)
            m_app->m_pMainWnd->OnClose();
        WndTester::ProcessEvents();
        m_app->ExitInstance();
        delete m_app;
        m_app = nullptr;
    }
    WndTester::ProcessEvents();
}

void ViewerTest::PrintToPdfOnDialog(const QString& pdf, int dpi)
{
    m_onDialog = [pdf, dpi](QDialog& dialog) {
        QPrintDialog* print = qobject_cast<QPrintDialog*>(&dialog);
        if (!print)
            return (int)QDialog::Rejected;
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(pdf);
        print->printer()->setResolution(dpi);
        return (int)QDialog::Accepted;
    };
}

void ViewerTest::TearDown()
{
    CloseApp();
    SetModalRunner(nullptr);
    SetMessageBoxHandler(nullptr);
}

void ViewerTest::Start(const std::vector<std::string>& args)
{
    m_args = { "pixmoor" };
    m_args.insert(m_args.end(), args.begin(), args.end());
    m_argv.clear();
    for (std::string& a : m_args)
        m_argv.push_back(&a[0]);
    m_argv.push_back(nullptr);
    m_app = new CPixmoorApp;
    m_app->m_argc = (int)m_args.size();
    m_app->m_argv = m_argv.data();
    ASSERT_TRUE(m_app->InitInstance());
    m_frame = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
    ASSERT_NE(m_frame, nullptr);
    m_view = dynamic_cast<CPixmoorView*>(m_frame->GetActiveView());
    ASSERT_NE(m_view, nullptr);
    if (m_beforeShow)
        m_beforeShow();
    ASSERT_TRUE(WndTester::ShowAndWait(m_frame));
}

void ViewerTest::SetClientSize(int w, int h)
{
    QWidget* root = RootWidgetOf(m_frame);
    QWidget* area = RootWidgetOf(m_view);
    for (int i = 0; i < 3; ++i) {
        WndTester::ProcessEvents();
        root->resize(root->width() + (w - area->width()), root->height() + (h - area->height()));
    }
    WndTester::ProcessEvents();
}

void ViewerTest::Command(UINT nID)
{
    ASSERT_TRUE(WndTester::ClickMenuItem(m_frame, nID)) << "no menu item " << nID;
}

std::string ViewerTest::Title() const
{
    return m_frame->GetWindowText();
}

QImage ViewerTest::Screen() const
{
    return WndTester::ScreenOfClient(m_view);
}
