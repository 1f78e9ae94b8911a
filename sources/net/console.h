// console: the text console of the lobby: clearing, cursor placement and single keys.
//
// Keys are read without echo from a terminal (raw mode, restored on every way out, Ctrl-C
// included) and plainly from a pipe, so a script can feed the lobby its keys.
#pragma once

// Fills the screen with spaces and puts the cursor at column 0, row 0.
void ClearConsole();
// Moves the cursor to column x, row y; does nothing when either is negative.
void GotoXY(int x, int y);

// Switches a terminal on standard input to unechoed single keys (nothing for a pipe).
void BeginKeyInput();
// Puts the terminal back as it was.
void EndKeyInput();

enum KeyResult {
    ENoKey = -1,     // nothing within the wait
    EKeysEnded = -2, // standard input is closed
};
// Waits up to timeoutMs for one key; returns it (0-255), ENoKey or EKeysEnded.
int ReadKey(int timeoutMs);
