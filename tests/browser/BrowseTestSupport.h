#pragma once
// Shared pieces of the browser tests: drive C: on a fresh temporary
// directory, photos made with the project's encoder, a browser window with
// a recording owner, and reading the rendered client area.

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "browser/Browse.h"

// A browser that counts its paint passes and, per pass, how many listed
// items had a picture when the pass ended, and which display positions
// gained one.
class CTestBrowse : public CBrowse {
public:
    explicit CTestBrowse(bool* deleted = nullptr) : m_pDeleted(deleted) {}
    ~CTestBrowse() override
    {
        if (m_pDeleted)
            *m_pDeleted = true;
    }
    void OnPaint() override;
    int PicturesListed() const;

    int m_nPasses = 0;
    std::vector<int> m_picturesAfterPass;
    std::vector<int> m_gained;  // positions, in the order they got their pictures

private:
    std::vector<bool> m_pictured;  // by display position, after the last pass
    bool* m_pDeleted;
};

// What the owner's handler was called with, and the selected file then.
struct OwnerRecord {
    std::vector<int> counts;
    std::vector<std::string> chosen;  // GetSelectedFile at each call ("" for null)
};
extern OwnerRecord g_owner;
void RecordingOwner(int count);

extern std::vector<std::string> g_messages;

extern const DWORD kBrowseStyle;

class BrowseTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Native path of a file or directory in drive C:.
    std::string Native(const std::string& name) const { return m_dir + "/" + name; }
    void MakeDir(const std::string& name) const;
    void Touch(const std::string& name) const;  // an empty file
    // A width x height JPEG of one colour.
    void WritePhoto(const std::string& name, int width, int height, unsigned char r = 0,
                    unsigned char g = 0, unsigned char b = 255) const;

    // Creates (not shown) a browser at the start rectangle with the
    // recording owner, single selection, and `path`.
    CTestBrowse* Create(const char* path, bool withHandler = true);
    // Creates, shows and lets every paint pass run.
    CTestBrowse* Open(const char* path, bool withHandler = true);
    // Runs the event loop until no paint pass follows.
    void Settle();
    // The client area as the screen shows it now.
    QImage Screen();

    // Names shown, in display order.
    std::vector<std::string> Shown() const;
    // Display position of the item whose name (or file name) is `name`.
    int PositionOf(const std::string& name) const;
    // Client point in the middle of the picture area of display position p.
    QPoint CellCentre(int p) const;
    void ClickPosition(int p, Qt::KeyboardModifiers mods = Qt::NoModifier);

    std::string m_dir;
    CTestBrowse* m_browse = nullptr;
    bool m_deleted = false;
};

QRgb Rgb(COLORREF c);
// A colour within `tolerance` per channel (JPEG round trips).
bool Near(QRgb a, QRgb b, int tolerance);
