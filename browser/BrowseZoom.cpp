// Zoom + and Zoom -: a new cell size, column count, label height and
// label font; the list is built again at the new size by the next paint.
#include "browser/Browse.h"

void CBrowse::OnZoomIn()
{
    if (BrowseGeometry::ZoomIn(&m_cellWidth, &m_cellHeight))
        ApplyZoom();
}

void CBrowse::OnZoomOut()
{
    if (BrowseGeometry::ZoomOut(&m_cellWidth, &m_cellHeight))
        ApplyZoom();
}

void CBrowse::ApplyZoom()
{
    m_columns = BrowseGeometry::ColumnCount(m_clientWidth, m_cellWidth, m_margin);
    m_rows = BrowseGeometry::RowCount(m_count, m_columns);
    int fontTenths = 0;
    BrowseGeometry::LabelFor(m_cellHeight, &m_labelHeight, &fontTenths);
    m_font.DeleteObject();
    m_font.CreatePointFont(fontTenths, "Arial");
    // Icons and thumbnails are made again at the new size; selections go.
    ClearList();
}
