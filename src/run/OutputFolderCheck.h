#pragma once

#include <QString>

// Where the user's output folder came from: typed in, or picked from the folders they
// kept. Only a typed folder is created.
enum class FolderOrigin { Typed, Listed };

enum class FolderProblem {
    None,
    NotChosen,    // no folder was named
    Missing,      // a listed folder that has gone (it is not made again)
    CannotCreate, // a typed folder that does not exist and cannot be made (its parent must exist)
    NotAFolder,   // the name is taken by something else
};

// The output folder of a run, ready for names to be appended (it ends in exactly one
// '/'), or why it cannot take a run's outputs. Each front end words the problem.
struct PreparedFolder {
    QString folder;
    FolderProblem problem = FolderProblem::None;

    bool ready() const { return problem == FolderProblem::None; }
};

// Makes a typed folder that is missing (only that one folder: its parent must exist).
PreparedFolder prepareOutputFolder(const QString& text, FolderOrigin origin);
