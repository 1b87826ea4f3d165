// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A school's classes on its server: the classes a teacher teaches (a head
// teacher: all), each class's path and day's length as its teachers set
// them; and a pupil's side of it: its class's path, kept in its own file so
// that its day's practice follows the class while the server is away, and
// its passed steps taken by the server. The server's row-level security
// decides who may write what: a pupil's or another class's teacher's
// writing is refused by the database itself.

#include "records/database/connection.h"
#include "records/model/day_plan.h"
#include "records/model/path.h"

#include <QList>
#include <QString>

#include <optional>

namespace common::records {

struct SchoolClass {
    QString role; // the class's group role
    QString name; // as shown
    bool operator==(const SchoolClass&) const = default;
};

struct ClassPath {
    Path path;
    int dayProblems = kDefaultDayProblems;
    bool set = false; // a teacher set it; otherwise the default path, and the pupils keep theirs
    bool operator==(const ClassPath&) const = default;
};

// A step a pupil passed, as its file keeps it (the local day as the file
// has it, ISO 8601).
struct PassedStep {
    QString step;
    QString passedOn;
    bool byPlacement = false;
    bool operator==(const PassedStep&) const = default;
};

class ClassTable {
public:
    explicit ClassTable(Connection& connection) : m_connection(connection) {}

    // The classes the connected role is in, every class for a head teacher,
    // by name; none on a family's file. Nothing after a failure.
    std::optional<QList<SchoolClass>> classes();
    // A class's path; without one set, the default path. Nothing after a
    // failure or for a class the connected role may not read.
    std::optional<ClassPath> classPath(const QString& role);
    // False when the database refused it (a pupil, a teacher of another
    // class) or `path` holds a day's length that is no choice.
    bool setClassPath(const QString& role, const ClassPath& path);
    // The pupils keep their own paths again.
    bool resetClassPath(const QString& role);

    // On the server, as a pupil: the path its class set (the first class by
    // role when it is in several); none set is an empty optional inside.
    std::optional<std::optional<ClassPath>> pupilsClassPath();
    // In the pupil's file: the class's path as the child's own, pinned step
    // and day's length too. Unchanged rows are not written again.
    bool keepClassPath(qint64 child, const ClassPath& path);
    // On the server, as the pupil: a passed step, taken once.
    bool takePassed(qint64 child, const PassedStep& passed);

private:
    Connection& m_connection;
};

} // namespace common::records
