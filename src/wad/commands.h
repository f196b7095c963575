// The shell's WAD commands: each takes the words of the command line after
// the command word.
#pragma once

class CommandWords;

// Writing files.
void CommandBuild(CommandWords& words);    // BUILD file: a new IWAD of the master directory
void CommandGroup(CommandWords& words);    // GROUP file: the read PWADs' levels in one PWAD
void CommandInsert(CommandWords& words);   // INSERT raw-file object: a one-entry PWAD
void CommandXtract(CommandWords& words);   // XTRACT object raw-file: one entry's data
void CommandSave(CommandWords& words);     // SAVE object file [new-name]: a one-entry PWAD

// Listings and dumps.
void CommandWads(CommandWords& words);     // WADS: the open WAD files and their levels
void CommandDir(CommandWords& words);      // DIR: accepted, does nothing
void CommandDirA(CommandWords& words);     // DIRA [pattern [output]]: every open file
void CommandDirM(CommandWords& words);     // DIRM [pattern [output]]: the master directory
void CommandDirW(CommandWords& words);     // DIRW [pattern] [output] [file#]: one WAD file
void CommandDumpM(CommandWords& words);    // DUMPM entry [output]: data from the master directory
void CommandDumpW(CommandWords& words);    // DUMPW entry [output] [file#]: data from one WAD file
