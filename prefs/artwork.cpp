#include "prefs/artwork.h"
#include "prefs/block_shape.h"

#include <wx/dcmemory.h>
#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/icon.h>

#include <array>

namespace {

wxColour Colour(std::uint32_t rgb) {
    return wxColour(static_cast<unsigned char>(rgb >> 16), static_cast<unsigned char>(rgb >> 8),
                    static_cast<unsigned char>(rgb));
}

void DrawFaces(wxDC& dc, const std::array<CBlockFace, 3>& faces) {
    dc.SetPen(wxPen(Colour(kArtBlack)));
    for (const CBlockFace& face : faces) {
        std::array<wxPoint, 4> corners;
        for (std::size_t i = 0; i < corners.size(); ++i)
            corners[i] = wxPoint(face.m_corners[i][0], face.m_corners[i][1]);
        dc.SetBrush(wxBrush(Colour(face.m_nRgb)));
        dc.DrawPolygon(static_cast<int>(corners.size()), corners.data());
    }
}

void DrawFittedText(wxDC& dc, const CArtText& art, int largestPoints) {
    const wxString text = art.m_szText;
    const wxRect area(art.m_nX, art.m_nY, art.m_nWidth, art.m_nHeight);
    const wxFontWeight weight = art.m_bBold ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL;
    wxSize extent;
    for (int points = largestPoints; points >= 5; --points) {
        dc.SetFont(wxFontInfo(points).Family(wxFONTFAMILY_SWISS).Weight(weight));
        extent = dc.GetTextExtent(text);
        if (extent.x <= area.width && extent.y <= area.height) {
            break;
        }
    }
    dc.SetTextForeground(Colour(art.m_nRgb));
    dc.DrawText(text, area.x, area.y + (area.height - extent.y) / 2);
}

wxIcon MakeIcon(int size) {
    wxBitmap bitmap(size, size);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(Colour(kIconBackground)));
        dc.Clear();
        DrawFaces(dc, IconBlockFaces(size));
    }
    wxIcon icon;
    icon.CopyFromBitmap(bitmap);
    return icon;
}

} // namespace

wxBitmap MakeLogoBitmap() {
    wxBitmap bitmap(kLogoWidth, kLogoHeight);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(Colour(kLogoBackground)));
    dc.Clear();
    DrawFaces(dc, LogoBlockFaces());

    // Font metrics differ between systems: each text takes the largest size
    // that fits the space right of the block.
    DrawFittedText(dc, kLogoTitle, 14);
    DrawFittedText(dc, kLogoSubtitle, 8);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

wxIconBundle MakeProgramIcons() {
    wxIconBundle icons;
    icons.AddIcon(MakeIcon(32));
    icons.AddIcon(MakeIcon(16));
    return icons;
}
