#pragma once
// The layouts of the two salary reports, band by band.
//
// The detailed report walks the employees (PrintTable1) with each one's batch rows
// (PrintSalaryTable1) under him; Query1 is his total, Query2 the total of the batch and Query3
// its number of rows. The list report walks the batch rows (SimplePrintTempTable1); Query1 is
// their number and Query2 their total.

#include "ReportLayout.h"

namespace reports {

const ReportLayout& detailedReportLayout();
const ReportLayout& listReportLayout();

}  // namespace reports
