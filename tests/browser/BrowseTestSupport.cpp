#include "BrowseTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "codec/JpegConverter.h"
#include "platform/DriveTable.h"
#include "platform/MessageBox.h"
#include "platform/WndTester.h"

OwnerRecord g_owner;
std::vector<std::string> g_messages;
static CBrowse* g_ownerBrowse = nullptr;

const DWORD kBrowseStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                           WS_MAXIMIZEBOX | WS_VSCROLL | WS_HSCROLL;

static int RecordMessage(const char* text, unsigned int)
{
    g_messages.push_back(text);
    return IDOK;
}

void RecordingOwner(int count)
{
    g_owner.counts.push_back(count);
    const char* file = g_ownerBrowse ? g_ownerBrowse->GetSelectedFile() : nullptr;
    g_owner.chosen.push_back(file ? file : "");
}

void CTestBrowse::OnPaint()
{
    CBrowse::OnPaint();
    ++m_nPasses;
    m_picturesAfterPass.push_back(PicturesListed());
    m_pictured.resize(m_count);
    for (int p = 0; p < m_count; ++p) {
        const bool has = m_items[m_order[p].slot].GetHeight() != 0;
        if (has && !m_pictured[p])
            m_gained.push_back(p);
        m_pictured[p] = has;
    }
}

int CTestBrowse::PicturesListed() const
{
    int n = 0;
    for (int slot = 0; slot < m_count; ++slot) {
        if (m_items[slot].GetHeight() != 0)
            ++n;
    }
    return n;
}

QRgb Rgb(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

bool Near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

void BrowseTest::SetUp()
{
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string templ = std::string(base) + "/pixmoor-browse-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    ASSERT_NE(mkdtemp(buf.data()), nullptr);
    m_dir = buf.data();
    CDriveTable::Instance().Clear();
    CDriveTable::Instance().SetDrive('C', m_dir);
    // An empty thumbnail cache (in the test environment's cache folder).
    if (const char* cache = getenv("XDG_CACHE_HOME")) {
        ASSERT_EQ(system(("rm -rf '" + std::string(cache) + "/pixmoor'").c_str()), 0);
    }
    g_messages.clear();
    g_owner = OwnerRecord();
    SetMessageBoxHandler(RecordMessage);
}

void BrowseTest::TearDown()
{
    if (m_browse && !m_deleted)
        delete m_browse;
    m_browse = nullptr;
    g_ownerBrowse = nullptr;
    WndTester::ProcessEvents();
    SetMessageBoxHandler(nullptr);
    std::string cmd = "rm -rf '" + m_dir + "'";
    if (system(cmd.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", m_dir.c_str());
}

void BrowseTest::MakeDir(const std::string& name) const
{
    ASSERT_EQ(mkdir(Native(name).c_str(), 0755), 0) << name;
}

void BrowseTest::Touch(const std::string& name) const
{
    FILE* f = fopen(Native(name).c_str(), "wb");
    ASSERT_NE(f, nullptr) << name;
    fclose(f);
}

void BrowseTest::WritePhoto(const std::string& name, int width, int height, unsigned char r,
                            unsigned char g, unsigned char b) const
{
    std::vector<unsigned char> pixels((size_t)width * height * 3);
    for (size_t i = 0; i < pixels.size(); i += 3) {
        pixels[i] = r;
        pixels[i + 1] = g;
        pixels[i + 2] = b;
    }
    CJpegConverter enc;
    enc.m_nQuality = 95;
    unsigned char* jpeg = enc.Encode(pixels.data(), width, height);
    ASSERT_NE(jpeg, nullptr);
    FILE* f = fopen(Native(name).c_str(), "wb");
    ASSERT_NE(f, nullptr) << name;
    fwrite(jpeg, 1, (size_t)enc.GetSize(), f);
    fclose(f);
    free(jpeg);
}

CTestBrowse* BrowseTest::Create(const char* path, bool withHandler)
{
    m_deleted = false;
    m_browse = new CTestBrowse(&m_deleted);
    EXPECT_TRUE(m_browse->Create(nullptr, "Visual Browser", kBrowseStyle, CRect(10, 10, 920, 710)));
    if (withHandler)
        m_browse->SetCallBack(RecordingOwner);
    m_browse->SetPath(path);
    g_ownerBrowse = m_browse;
    return m_browse;
}

CTestBrowse* BrowseTest::Open(const char* path, bool withHandler)
{
    Create(path, withHandler);
    m_browse->ShowWindow(SW_SHOW);
    m_browse->UpdateWindow();
    EXPECT_TRUE(WndTester::ShowAndWait(m_browse));
    Settle();
    return m_browse;
}

void BrowseTest::Settle()
{
    int quiet = 0;
    for (int round = 0; round < 5000 && quiet < 3; ++round) {
        const int before = m_deleted ? 0 : m_browse->m_nPasses;
        WndTester::ProcessEvents();
        if (m_deleted)
            return;
        quiet = m_browse->m_nPasses == before ? quiet + 1 : 0;
    }
}

QImage BrowseTest::Screen()
{
    return WndTester::ScreenOfClient(m_browse);
}

std::vector<std::string> BrowseTest::Shown() const
{
    std::vector<std::string> names;
    for (int p = 0; p < m_browse->m_count; ++p)
        names.push_back(m_browse->m_items[m_browse->m_order[p].slot].GetName());
    return names;
}

int BrowseTest::PositionOf(const std::string& name) const
{
    for (int p = 0; p < m_browse->m_count; ++p) {
        const CRgbImage& item = m_browse->m_items[m_browse->m_order[p].slot];
        if (name == item.GetName() || name == item.GetFileName())
            return p;
    }
    return -1;
}

QPoint BrowseTest::CellCentre(int p) const
{
    const BrowseMetrics m = m_browse->Metrics();
    const int r = p / m.columns;
    const int c = p % m.columns;
    const int x = BrowseGeometry::ColumnOrigin(m, c) + m.margin + m.cellWidth / 2;
    const int y = BrowseGeometry::RowOrigin(m, r) + m.margin + (m.cellHeight - m.labelHeight) / 2;
    return QPoint(x, y);
}

void BrowseTest::ClickPosition(int p, Qt::KeyboardModifiers mods)
{
    const QPoint at = CellCentre(p);
    WndTester::Click(m_browse, at.x(), at.y(), mods);
}
