#pragma once
#include "app/CheckList.h"
#include "app/ControlFactory.h"
#include "app/TwipScale.h"

// Gives a wide list the horizontal scroll range of a long sample text in the list's own font,
// measured once; it is never recomputed from the items the list later holds.
void FitScrollWidthToSample(CheckList& list, const TwipScale& scale);

// A list of results, sorted, light grey on dark grey in the panels' font, with that scroll range
// and a tool tip about the line clicked: the Turbo Vestrim and History lists. The description
// gives the place, the id, the click handler and the tip's asked text, if it has one; without
// one the panel fills the tip in itself.
void AddResultList(ControlFactory& controls, CheckList& list, ControlDescription described);
