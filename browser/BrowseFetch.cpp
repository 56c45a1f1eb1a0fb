// Which thumbnail a paint pass makes, and which pictures it gives up.
//
// A pass makes at most one thumbnail: the first cell in view without a
// picture or BROWSE_FAILED, or when the view is complete the nearest such
// cell of the rows around it, so the cells where the user looks come first
// and a scrolled view is followed within a few passes. Cells outside that
// neighbourhood give up their pictures; a cell that comes near again gets
// its thumbnail back from the cache. The flags stay with the item.
#include <algorithm>
#include <cstdlib>

#include "browser/Browse.h"

void CBrowse::FetchNearView(const BrowseView& view, int cw, int ch)
{
    ReleaseFarPictures(view.near);
    const BrowseMetrics m = Metrics();
    const int p = BrowseGeometry::FindNearView(
        m, view, [this](int q) { return NeedsThumbnail(m_items[m_order[q].slot]); });
    if (p < 0)
        return;
    FetchThumbnail(m_items[m_order[p].slot]);
    const int r = p / m_columns;
    const int c = p % m_columns;
    InvalidateFetchedCell(BrowseGeometry::ColumnOrigin(m, c) + m_margin,
                          BrowseGeometry::RowOrigin(m, r) + m_margin, cw, ch);
}

// Only the positions held by the last pass can hold pictures, so only those
// that have left the neighbourhood are visited, not the whole list.
void CBrowse::ReleaseFarPictures(const BrowseRange& near)
{
    const int end = std::min(m_held.end, m_count);
    for (int p = m_held.begin; p < end; ++p) {
        if (p >= near.begin && p < near.end)
            continue;
        CRgbImage& item = m_items[m_order[p].slot];
        // A directory's icon is made by the listing only: it stays.
        if (item.GetHeight() != 0 && !(item.m_nFlags & BROWSE_DIR))
            item.SetScaledImage(nullptr, nullptr, 0, 0, 0, 0);  // keeps the name and the flags
    }
    m_held = near;
}

// Asks for the next pass. Of what that pass draws only the fetched cell can
// differ from the screen (every other change invalidates the whole client
// itself), so only that cell is invalidated: the next pass then draws one
// cell instead of the whole grid. A cell out of sight still needs the pass
// for the next fetch, so a pixel of the bar (clipped away) stands in for it.
void CBrowse::InvalidateFetchedCell(int x, int y, int cw, int ch)
{
    RECT r = { std::max(x - 4, 0), std::max(y - 4, m_barHeight), std::min(x + m_cellWidth + 4, cw),
               std::min(y + m_cellHeight + 4, ch) };
    if (r.right <= r.left || r.bottom <= r.top)
        r = RECT{ 0, 0, 1, 1 };
    InvalidateRect(&r, FALSE);
}

// Only file items are fetched: a directory item without its icon (no
// memory) must keep BROWSE_DIR.
bool CBrowse::NeedsThumbnail(const CRgbImage& item) const
{
    return item.GetHeight() == 0 && !(item.m_nFlags & (BROWSE_FAILED | BROWSE_DIR));
}

void CBrowse::FetchThumbnail(CRgbImage& item)
{
    int w = 0;
    int h = 0;
    unsigned char* pixels = GetThumbnail(item.GetName(), &w, &h);
    if (!pixels || w <= 0 || h <= 0) {
        // An empty picture is no thumbnail either; without this it would be
        // fetched again in every pass.
        free(pixels);
        item.m_nFlags = BROWSE_FAILED;
        return;
    }
    int tw = 0;
    int th = 0;
    BrowseGeometry::FitThumbnail(w, h, m_cellWidth, m_cellHeight - m_labelHeight, &tw, &th);
    item.SetScaledImage(nullptr, pixels, w, h, tw, th);
    free(pixels);
}
