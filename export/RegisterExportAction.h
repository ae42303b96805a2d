#pragma once

#include "ExportTable.h"

class QWidget;
class Session;
struct Platform;

// The register pages' export: asks for the file (Excel or CSV by the
// chooser's filter, starting in the folder of the last saved file), writes
// the table into it with a progress window that can cancel, and says what
// came of it. Nothing half-written is ever left.
void exportRegister(QWidget* parent, Session& session, Platform& platform, const ExportTable& table);
