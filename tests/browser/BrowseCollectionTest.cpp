// A folder as a camera card holds it: thousands of photos. All of them are
// listed; the cells in view get their thumbnails first, wherever the view
// is; cells far from the view hold no picture, and their flags survive
// giving it up.
#include <cstdio>

#include "BrowseTestSupport.h"
#include "platform/WndTester.h"

namespace {

const int kPhotos = 3000;

class CollectionTest : public BrowseTest {
protected:
    // C:/Card/ with IMG_0000.jpg to IMG_2999.jpg, small and each its own colour.
    void MakeCard()
    {
        MakeDir("Card");
        for (int i = 0; i < kPhotos; ++i)
            WritePhoto(Name(i), 16, 12, (unsigned char)(i * 37), (unsigned char)(i * 91), 200);
    }
    static std::string Name(int i)
    {
        char name[32];
        std::snprintf(name, sizeof name, "Card/IMG_%04d.jpg", i);
        return name;
    }
    const CRgbImage& ItemAt(int p) const { return m_browse->m_items[m_browse->m_order[p].slot]; }
    bool HasPicture(int p) const { return ItemAt(p).GetHeight() != 0; }
    BrowseView View() const
    {
        return BrowseGeometry::ViewOf(m_browse->Metrics(), m_browse->m_clientWidth, m_browse->m_clientHeight,
                                      m_browse->m_count);
    }
    // Listed positions in view, in display order.
    std::vector<int> InView() const
    {
        const BrowseView v = View();
        std::vector<int> cells;
        for (int r = v.rows.first; r <= v.rows.last; ++r)
            for (int c = v.columns.first; c <= v.columns.last; ++c)
                if (r * m_browse->m_columns + c < m_browse->m_count)
                    cells.push_back(r * m_browse->m_columns + c);
        return cells;
    }
    // File positions holding a picture.
    std::vector<int> Pictured() const
    {
        std::vector<int> cells;
        for (int p = m_browse->m_dirCount; p < m_browse->m_count; ++p)
            if (HasPicture(p))
                cells.push_back(p);
        return cells;
    }
    static std::vector<int> Positions(int begin, int end)
    {
        std::vector<int> cells;
        for (int p = begin; p < end; ++p)
            cells.push_back(p);
        return cells;
    }
};

// Every photo listed, in name order; at the top six rows are in view and
// only they and two screens below them (18 rows of 7 cells, the way up
// first) are fetched, each thumbnail made and stored once. After a drag of
// the thumb to the end the passes fetch the cells in view first, in display
// order, then the rows above them: the first cell far down is the first one
// fetched, not the 3000th.
TEST_F(CollectionTest, EveryPhotoIsListedAndCellsInViewAreFetchedFirstWhereverTheViewIs)
{
    MakeCard();
    Open("C:/Card/");
    ASSERT_EQ(m_browse->m_count, kPhotos + 1);
    const std::vector<std::string> shown = Shown();
    for (int i = 0; i < kPhotos; ++i)
        ASSERT_EQ(shown[1 + i], "C:/" + Name(i)) << i;
    EXPECT_EQ(View().near.end, 18 * 7);
    EXPECT_EQ(Pictured(), Positions(1, 18 * 7));
    EXPECT_EQ(m_browse->m_cacheCount, 18 * 7 - 1);

    m_browse->m_gained.clear();
    WndTester::DragThumb(m_browse, SB_VERT, 1 << 24);
    Settle();
    const std::vector<int> inView = InView();
    ASSERT_GT(inView.front(), 2900);
    ASSERT_EQ(inView.back(), kPhotos);
    const std::vector<int>& gained = m_browse->m_gained;
    ASSERT_GT(gained.size(), inView.size() + 7);
    EXPECT_EQ(std::vector<int>(gained.begin(), gained.begin() + inView.size()), inView);
    // Then the row above the view, in display order.
    const std::vector<int> above(gained.begin() + inView.size(), gained.begin() + inView.size() + 7);
    EXPECT_EQ(above, Positions(inView.front() / 7 * 7 - 7, inView.front() / 7 * 7));
    EXPECT_EQ(Pictured(), Positions(View().near.begin, kPhotos + 1));
}

// Scrolled to the end and back: the cells at the top give up their pictures
// and get them back from the cache (nothing is made again); a failed file
// stays failed without being tried again, a selected one stays selected.
TEST_F(CollectionTest, FarCellsGiveUpTheirPicturesAndKeepTheirFlags)
{
    MakeCard();
    FILE* f = std::fopen(Native(Name(2)).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not a jpeg", f);
    std::fclose(f);
    Open("C:/Card/");
    const int failed = 3;  // IMG_0002.jpg
    const int chosen = 5;  // IMG_0004.jpg
    ClickPosition(chosen);
    Settle();
    ASSERT_EQ(ItemAt(failed).m_nFlags, (uint32_t)BROWSE_FAILED);
    ASSERT_EQ(ItemAt(chosen).m_nFlags, (uint32_t)BROWSE_SELECTED);
    ASSERT_TRUE(HasPicture(chosen));

    WndTester::DragThumb(m_browse, SB_VERT, 1 << 24);
    Settle();
    const BrowseView v = View();
    EXPECT_EQ(Pictured(), Positions(v.near.begin, kPhotos + 1));
    EXPECT_EQ(ItemAt(failed).m_nFlags, (uint32_t)BROWSE_FAILED);
    EXPECT_EQ(ItemAt(chosen).m_nFlags, (uint32_t)BROWSE_SELECTED);
    EXPECT_STREQ(m_browse->GetSelectedFile(), ("C:/" + Name(4)).c_str());
    const int stored = m_browse->m_cacheCount;

    WndTester::DragThumb(m_browse, SB_VERT, 0);
    Settle();
    EXPECT_EQ(m_browse->m_scrollY, 0);
    EXPECT_EQ(Pictured(), [&] {
        std::vector<int> near = Positions(1, View().near.end);
        near.erase(near.begin() + (failed - 1));
        return near;
    }());
    EXPECT_EQ(m_browse->m_cacheCount, stored) << "thumbnails come back from the cache";
    EXPECT_EQ(ItemAt(failed).m_nFlags, (uint32_t)BROWSE_FAILED);
    EXPECT_EQ(ItemAt(chosen).m_nFlags, (uint32_t)BROWSE_SELECTED);
    // On the screen: the chosen cell's label band is red again, beside its
    // picture; the failed cell keeps its grey placeholder.
    const QImage s = Screen();
    const QPoint at = CellCentre(chosen);
    EXPECT_EQ(s.pixel(at.x() - 55, at.y() + 45), Rgb(RGB(192, 0, 0)));
    EXPECT_NE(s.pixel(at), qRgb(192, 192, 192));
    EXPECT_EQ(s.pixel(CellCentre(failed).x() - 50, CellCentre(failed).y() - 30), qRgb(192, 192, 192));
}

}  // namespace
