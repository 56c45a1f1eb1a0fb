#pragma once
// Shared by the viewer's window tests: test photos made with the project's
// own encoder, a message-box recorder, and a fixture that starts the real
// application object with a command line and closes it afterwards.

#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

#include "app/MainFrm.h"
#include "app/PixmoorApp.h"
#include "app/PixmoorDoc.h"
#include "app/PixmoorView.h"

// Writes a w x h JPEG of one colour. Returns the path.
std::string WriteTestPhoto(const QString& dir, const char* name, int w, int h, QRgb color = qRgb(200, 40, 40));

// The project's encoder over a top-down R, G, B picture; empty when it fails.
std::vector<unsigned char> EncodeTestPhoto(const unsigned char* rgb, int w, int h, int quality = 95);
// Writes `bytes` as dir/name (a test failure when it cannot). Returns the path.
std::string WriteTestFile(const QString& dir, const std::string& name, const std::vector<unsigned char>& bytes);

// The grey the view paints around the picture.
constexpr QRgb kViewGrey = 0xFFC0C0C0u;

// True when two colours differ by at most tolerance in each channel.
bool Near(QRgb a, QRgb b, int tolerance = 6);

class ViewerTest : public ::testing::Test {
public:
    // Texts of the message boxes shown, in order.
    static std::vector<std::string> s_messages;

protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the application with these arguments after the program name.
    void Start(const std::vector<std::string>& args = {});
    // Resizes the main window so that the view's client area is w x h
    // (with no scroll bars showing).
    void SetClientSize(int w, int h);
    // Runs the menu command as the user does.
    void Command(UINT nID);
    // The main window's title.
    std::string Title() const;
    QImage Screen() const;

    // Closes the main window and ends the application as the program does.
    void CloseApp();
    // Answers the print dialog by printing to `pdf` at `dpi`; other dialogs
    // are cancelled.
    void PrintToPdfOnDialog(const QString& pdf, int dpi);

    // Runs after InitInstance, before the window is first shown and painted.
    std::function<void()> m_beforeShow;
    // Modal dialogs (file, print, About, ...) go to this; default: cancel.
    std::function<int(QDialog&)> m_onDialog;
    std::vector<std::string> m_dialogTitles;

    QTemporaryDir m_dir;
    CPixmoorApp* m_app = nullptr;
    CMainFrame* m_frame = nullptr;
    CPixmoorView* m_view = nullptr;
    std::vector<std::string> m_args;
    std::vector<char*> m_argv;
};
