#pragma once

class Workspace;

struct StartUpResult {
    bool quit = false;           // the user declined to create a missing project register
    bool configCreated = false;  // there was no configuration file; one with defaults was written
};

// The data part of the program's start-up, in order: the configuration file
// (created with the defaults when missing and createMissingConfig is set), the
// project register, the task templates, every project's progress file, the
// current progress file again, the empty results table; ChangeFlags cleared.
// The base directory must already be set. Throws FileError.
StartUpResult LoadAtStartUp(Workspace& ws, bool createMissingConfig);

// Reads the configuration file and the user record; without a file the
// defaults, written to a new file when createMissing is set (by exactly one of
// several copies starting together). True when this copy created the file.
// Throws FileError.
bool ReadOrCreateConfiguration(Workspace& ws, bool createMissing);

// WriteConfiguration, reporting a failure with the program's message instead of
// throwing; the values in memory stay. Returns false on failure.
bool SaveConfiguration(Workspace& ws);

// The saving part of the close: for a user who may write, every table marked in
// ChangeFlags is saved under its configured name. Throws FileError.
void SaveMarkedTables(Workspace& ws);
