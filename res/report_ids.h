#pragma once
// Resource ids of the report views and their dialogs.
#define IDD_INFO_BALLOON     115
