#pragma once
// The calculation sheet drawn by Qt: its HTML laid out on one page of a paged device (a PDF
// writer, a printer), shrunk to fit when it would run over, with the text as text.

#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include "analysis/sheet.h"

class QPagedPaintDevice;

namespace quarvell::platform::qt {

// Letter where the locale measures in US units, A4 elsewhere; the page upright, with margins.
QPageSize SheetPageSize(const QLocale& locale);
QPageLayout SheetPageLayout(const QLocale& locale);

// Draws the sheet on the device's page as it is laid out; false with the reason when the
// device cannot be drawn on.
bool PaintSheet(const analysis::Sheet& sheet, QPagedPaintDevice& device, QString& error);

}  // namespace quarvell::platform::qt
