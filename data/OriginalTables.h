#pragma once

class Connection;

// Creates the five tables of the first release in their original layout
// (without what the start-up upgrade adds). The delivered database starts
// from them and is then brought up to date; tests keep them as the oldest
// file the upgrade must handle.
void createOriginalTables(Connection& connection);
