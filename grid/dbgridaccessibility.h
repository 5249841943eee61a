#pragma once
// What a screen reader is given for the data grid: the grid's own table of titles and cells,
// which also holds the footer row, and the footer's cells. Qt's table for item views lists
// only titles and cells, so a footer inside it would never be reached.

namespace DBGridAccessibility {

// Registers the grid's accessible interfaces with Qt, once; every grid does it as it is
// built, before anything asks for its interface.
void install();

} // namespace DBGridAccessibility
