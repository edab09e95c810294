#pragma once

// Lets a screen reader read every board cell as a table cell with a name and a value; a cell on
// a board that has spoken texts is read "row 3, column 5: apple, given". Once per process.
void installCellAccessibility();
