#include "prefs/dialog_units.h"

#include <algorithm>
#include <cmath>

wxFont GetDialogFont() {
    return wxFontInfo(8).Family(wxFONTFAMILY_SWISS);
}

CTemplateLayout::CTemplateLayout(wxWindow* dialog, int widthDlu, int heightDlu)
    : m_pDialog(dialog), m_nWidthDlu(widthDlu), m_nHeightDlu(heightDlu) {}

int CTemplateLayout::NeededWidth(const Item& item) const {
    switch (item.fit) {
    case Fit::Text:
        return item.pControl->GetTextExtent(item.pControl->GetLabel()).x;
    case Fit::Control:
        return item.pControl->GetBestSize().x;
    case Fit::Button:
        return item.pControl->GetTextExtent(item.pControl->GetLabel()).x +
               m_pDialog->ConvertDialogToPixels(wxSize(8, 0)).x;
    case Fit::Box:
    case Fit::Natural:
        break;
    }
    return 0;
}

void CTemplateLayout::Finish() {
    double stretch = 1.0;
    for (const Item& item : m_items) {
        const int have = m_pDialog->ConvertDialogToPixels(wxSize(item.rect.width, 0)).x;
        const int need = NeededWidth(item);
        if (have > 0 && need > have) {
            stretch = std::max(stretch, static_cast<double>(need) / have);
        }
    }
    auto scaleX = [stretch](int pixels) { return static_cast<int>(std::lround(pixels * stretch)); };

    for (const Item& item : m_items) {
        const wxPoint pos = m_pDialog->ConvertDialogToPixels(wxPoint(item.rect.x, item.rect.y));
        const wxSize size =
            m_pDialog->ConvertDialogToPixels(wxSize(item.rect.width, item.rect.height));
        int x = scaleX(pos.x);
        int y = pos.y;
        int width = scaleX(size.x);
        int height = size.y;
        if (item.fit == Fit::Natural) {
            const wxSize own = item.pControl->GetBestSize();
            width = own.x;
            height = own.y;
        } else if (item.fit == Fit::Control) {
            const int best = item.pControl->GetBestSize().y;
            if (best > height) {
                y -= (best - height) / 2;
                height = best;
            }
        }
        item.pControl->SetSize(x, y, width, height);
    }
    const wxSize client = m_pDialog->ConvertDialogToPixels(wxSize(m_nWidthDlu, m_nHeightDlu));
    m_pDialog->SetClientSize(scaleX(client.x), client.y);
}
