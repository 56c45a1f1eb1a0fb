#pragma once
// The three pictures drawn in code for the browser's directory group: the
// way up, a folder and a drive. Each is 100 x 100 pixels in the exchange
// layout (rows top to bottom, R, G, B) on a grey (192,192,192) ground.

enum { BROWSE_ICON_SIDE = 100 };

class CBrowseIcons {
public:
    CBrowseIcons();

    const unsigned char* Up() const { return m_up; }
    const unsigned char* Folder() const { return m_folder; }
    const unsigned char* Drive() const { return m_drive; }

    // The icons never change, so one set serves every listing.
    static const CBrowseIcons& Shared();

private:
    enum { kBytes = BROWSE_ICON_SIDE * BROWSE_ICON_SIDE * 3 };
    unsigned char m_up[kBytes];
    unsigned char m_folder[kBytes];
    unsigned char m_drive[kBytes];
};
