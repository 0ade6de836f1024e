#pragma once

#include "bankbuilder.h"
#include "fakes.h"
#include "forms/tform1.h"
#include "tempdir.h"

#include <QDir>
#include <filesystem>
#include <memory>

// A fresh current directory, an empty data folder and a bank of the usual shape for the windows
// under test.
struct FormEnvironment {
    FormEnvironment() : previous(QDir::currentPath())
    {
        QDir::setCurrent(QString::fromStdString(dir.path()));
        std::filesystem::create_directory(dataDirectory());
        resources.items["r_pitanja"] = bankText({73, 71, 71, 41, 33});
    }
    ~FormEnvironment() { QDir::setCurrent(previous); }

    std::string dataDirectory() const { return dir.file("data"); }
    // A main window over this environment, created (so started) but not yet shown.
    std::unique_ptr<TForm1> mainWindow() const
    {
        return std::make_unique<TForm1>(resources, clock, dataDirectory());
    }

    QString previous;
    TempDir dir;
    MapResources resources;
    FixedClock clock;
};
