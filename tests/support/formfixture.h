#pragma once

#include "bankbuilder.h"
#include "fakes.h"
#include "tempdir.h"

#include <QDir>
#include <filesystem>

// A fresh current directory and a bank of the usual shape for a main window under test.
struct FormEnvironment {
    FormEnvironment() : previous(QDir::currentPath())
    {
        QDir::setCurrent(QString::fromStdString(dir.path()));
        std::filesystem::create_directory(dataDirectory());
        resources.items["r_pitanja"] = bankText({73, 71, 71, 41, 33});
    }
    std::string dataDirectory() const { return dir.file("data"); }
    ~FormEnvironment() { QDir::setCurrent(previous); }

    QString previous;
    TempDir dir;
    MapResources resources;
    FixedClock clock;
};
