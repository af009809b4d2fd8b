// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/works/exportformat.h"
#include "presentation/works/workwriter.h"

#include <memory>

// The writer of each export format: plain text and Markdown need only Qt Core, PDF a QGuiApplication.
std::unique_ptr<WorkWriter> makeWriter(ExportFormat format);
