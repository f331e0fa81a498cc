#pragma once
#include "app/CheckList.h"
#include "app/ControlFactory.h"
#include "app/TwipScale.h"

// Gives a wide list the horizontal scroll range of a long sample text in the list's own font,
// measured once; it is never recomputed from the items the list later holds.
void FitScrollWidthToSample(CheckList& list, const TwipScale& scale);

// A list of results, sorted, light grey on dark grey in the panels' font, with that scroll range
// and a tool tip the panel fills with the path behind the line clicked: the Turbo Vestrim and
// History lists. The description gives the place, the id and the click handler.
void AddResultList(ControlFactory& controls, CheckList& list, ControlDescription described);
