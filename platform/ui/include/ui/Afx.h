// The MFC-like framework in one include: windows, dialogs, data exchange,
// controls, property sheets, the application object and file dialogs.
#pragma once

#include "ui/CommCtrl.h"
#include "ui/ControlClasses.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"
#include "ui/FileDialog.h"
#include "ui/Process.h"
#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"
#include "ui/WinApp.h"
#include "ui/Wnd.h"
