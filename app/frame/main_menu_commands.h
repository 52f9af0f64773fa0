// The commands that the main menu window's buttons and the main window's
// Function menu share.
#pragma once

// Record / F1 and Customer data / F4: set the work mode, close the main
// menu and show the customer list.
void openRecordWork();
void openCustomerRecordsWork();
// Play / F2: the customer data window; Data transfer / F3: the
// data-transfer window; SS data / F5: the service-station editor.
void openPlay();
void openDataTransfer();
void openServiceStationEdit();
// Display main menu.
void showMainMenu();
// END / F12 is requestEndOfApp (program_end.h).
