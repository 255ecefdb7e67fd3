// Files and system services inside the runtime: the public commands (<tmv/files.h>) and the records
// behind them.
#pragma once

#include "runtime/files/directories.h"
#include "runtime/files/file_channels.h"
#include "runtime/files/ini_file.h"
#include "runtime/files/line_file.h"
#include "runtime/files/packed_archive.h"
#include "runtime/files/system_services.h"

#include <tmv/files.h>
