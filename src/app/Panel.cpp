#include "app/Panel.h"

void Panel::Create(HWND form, const PanelPlace& place) {
    if (Window() || !window_.Create(form, place.rect, place.look, false)) return;
    CreateControls();
}
