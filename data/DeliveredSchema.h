#pragma once

class Connection;

// Creates the five tables that the installation delivers, in their original
// layout (without what the start-up upgrade adds). Used to build the
// delivered empty database and older databases in tests.
void createDeliveredTables(Connection& connection);
