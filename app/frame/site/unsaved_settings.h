// What the engineer sets that the program cannot keep, said once a run and
// where: the settings store (COM port, display options, window place,
// sensor inputs) and the program folder (adapter type in pelomar3.ini, the
// data folders csv and q7data).
#pragma once

enum class SavePlace { SettingsStore, ProgramFolder };

// A write to the place failed, or will.
void noteUnsaved(SavePlace place);
// Notes the places that cannot be written now.
void checkSavePlaces();
// Says which places were noted and not said yet: in the message box, or,
// when no one is there to answer a box (the system ends the program), as a
// warning line of the debug output.
void reportUnsaved(bool toTheEngineer);
// A new start: nothing noted, nothing said.
void forgetUnsaved();
