// The errors the chart engine raises: chart and series checks, and axis property checks.
#pragma once

#include "system/SysUtils.h"

class ChartException : public Exception {
public:
    using Exception::Exception;
};

class AxisException : public Exception {
public:
    using Exception::Exception;
};
