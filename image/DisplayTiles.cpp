#include "image/DisplayTiles.h"

#include <cstdlib>

CDisplayTiles::CDisplayTiles()
    : m_pTiles(nullptr), m_nCount(0), m_nBytes(0), m_nClock(0), m_nMostNeeded(0)
{
}

CDisplayTiles::~CDisplayTiles()
{
    Clear();
}

const unsigned char* CDisplayTiles::Find(int col, int row)
{
    for (int i = 0; i < m_nCount; ++i) {
        Tile& t = m_pTiles[i];
        if (t.col == col && t.row == row) {
            t.lastUse = ++m_nClock;
            return t.bits;
        }
    }
    return nullptr;
}

bool CDisplayTiles::Keep(int col, int row, unsigned char* bits, uint64_t bytes)
{
    if (!m_pTiles) {
        m_pTiles = (Tile*)std::malloc(sizeof(Tile) * kMaxTiles);
        if (!m_pTiles)
            return false;
    }
    if (m_nCount == kMaxTiles)
        DropOldest();
    m_pTiles[m_nCount++] = Tile{col, row, bits, bytes, ++m_nClock};
    m_nBytes += bytes;
    return true;
}

bool CDisplayTiles::DropOldest()
{
    if (m_nCount == 0)
        return false;
    int oldest = 0;
    for (int i = 1; i < m_nCount; ++i)
        if (m_pTiles[i].lastUse < m_pTiles[oldest].lastUse)
            oldest = i;
    std::free(m_pTiles[oldest].bits);
    m_nBytes -= m_pTiles[oldest].bytes;
    m_pTiles[oldest] = m_pTiles[--m_nCount];
    return true;
}

void CDisplayTiles::MakeRoom(uint64_t bytes)
{
    while (m_nBytes + bytes > Limit() && DropOldest()) {
    }
}

void CDisplayTiles::Clear()
{
    for (int i = 0; i < m_nCount; ++i)
        std::free(m_pTiles[i].bits);
    std::free(m_pTiles);
    m_pTiles = nullptr;
    m_nCount = 0;
    m_nBytes = 0;
}

void CDisplayTiles::NoteDrawNeeds(uint64_t bytes)
{
    if (bytes > m_nMostNeeded)
        m_nMostNeeded = bytes;
}

uint64_t CDisplayTiles::Limit() const
{
    const uint64_t wanted = m_nMostNeeded > kMaxBytes ? kMaxBytes : 3 * m_nMostNeeded;
    if (wanted < kMinBytes)
        return kMinBytes;
    return wanted > kMaxBytes ? kMaxBytes : wanted;
}
