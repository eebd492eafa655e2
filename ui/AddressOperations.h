#pragma once

class TComputerList;
class TForm2;

// The hand-made changes to the computer list. None checks the text: empty
// texts, blanks and duplicates are taken as typed.

// Appends the typed text without a status record; the selection stays.
void AddComputer(TForm2& dialog, TComputerList& computers);
// Replaces the selected entry's text; its status and the selection stay, and
// nothing is opened again.
void EditSelectedComputer(TForm2& dialog, TComputerList& computers);
// Deletes the selected entry without asking; no entry is selected afterwards.
void DeleteSelectedComputer(TComputerList& computers);
