// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/database/migrations.h"

namespace common::records {

namespace {

// On a school's server a pupil's child is its login, named by the server
// and never by the pupil: a pupil could otherwise take a name that is, or
// will be, another pupil's login, with its answers filed under the other's
// name and the other's never taken (the name is unique). A child with a
// login is named by it when it is made, and keeps that name; a pupil
// changes no login (own_child). A server made before has its children so
// named first, in two steps so that two children trading names never meet;
// a child without a login (the owner's own) is left as it is.
const char* const kNamedByLogin[] = {
    "UPDATE children SET nickname = chr(1) || id WHERE login IS NOT NULL AND nickname <> login",
    "UPDATE children SET nickname = login WHERE login IS NOT NULL AND nickname <> login",
    "ALTER TABLE children ADD CONSTRAINT named_by_login CHECK (login IS NULL OR nickname = login)",
    R"sql(CREATE FUNCTION children_named_by_login() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  IF NEW.login IS NOT NULL THEN
    NEW.nickname := NEW.login;
  END IF;
  RETURN NEW;
END
$$)sql",
    "CREATE TRIGGER named_by_login BEFORE INSERT ON children "
    "FOR EACH ROW EXECUTE FUNCTION children_named_by_login()",
};

// The speed rule on a school's server: a new one holds it from the start
// (no child yet, nothing shown before), one made before keeps the accuracy
// rule until its administrator adopts the new one. A fact's latest right
// first tries' times are filled from the answers the server holds.
const char* const kTimedServer[] = {
    "UPDATE rules SET timed = 1 WHERE NOT EXISTS (SELECT 1 FROM children)",
    "UPDATE facts SET right_times = t.times FROM ("
    "SELECT child_id, fact, string_agg(elapsed_ms::text, ' ' ORDER BY n) AS times FROM ("
    "SELECT s.child_id, a.fact, a.elapsed_ms, row_number() OVER ("
    "PARTITION BY s.child_id, a.fact ORDER BY a.answered_at DESC, a.id DESC) AS n "
    "FROM answers a JOIN sets s ON s.id = a.set_id "
    "WHERE a.attempt = 1 AND a.correct = 1 AND a.answer_shown = 0) r "
    "WHERE n <= 5 GROUP BY child_id, fact) t "
    "WHERE t.child_id = facts.child_id AND t.fact = facts.fact",
};

// Each migration takes the schema from its index to the next version. A
// change of schema is a new entry at the end; what an entry makes is never
// edited.
const Migration kMigrations[] = {
    {R"sql(
CREATE TABLE children (
  id INTEGER PRIMARY KEY,
  nickname TEXT NOT NULL UNIQUE,
  created_at TEXT NOT NULL
);
CREATE TABLE sets (
  id INTEGER PRIMARY KEY,
  child_id INTEGER NOT NULL REFERENCES children(id) ON DELETE CASCADE,
  program TEXT NOT NULL,
  choice TEXT NOT NULL,
  problem_count INTEGER NOT NULL,
  started_at TEXT NOT NULL,
  ended_at TEXT,
  score INTEGER
);
CREATE INDEX sets_by_child ON sets(child_id, started_at);
CREATE TABLE answers (
  id INTEGER PRIMARY KEY,
  set_id INTEGER NOT NULL REFERENCES sets(id) ON DELETE CASCADE,
  position INTEGER NOT NULL,
  fact TEXT NOT NULL,
  right_answer TEXT NOT NULL,
  typed TEXT NOT NULL,
  attempt INTEGER NOT NULL,
  correct INTEGER NOT NULL,
  answer_shown INTEGER NOT NULL,
  hint TEXT,
  elapsed_ms INTEGER NOT NULL,
  answered_at TEXT NOT NULL
);
CREATE INDEX answers_by_set ON answers(set_id);
CREATE TABLE facts (
  child_id INTEGER NOT NULL REFERENCES children(id) ON DELETE CASCADE,
  fact TEXT NOT NULL,
  seen INTEGER NOT NULL,
  first_try_right INTEGER NOT NULL,
  streak INTEGER NOT NULL,
  last_seen TEXT NOT NULL,
  PRIMARY KEY (child_id, fact)
) WITHOUT ROWID;
CREATE TABLE notices (
  id INTEGER PRIMARY KEY,
  text TEXT NOT NULL,
  created_at TEXT NOT NULL,
  shown INTEGER NOT NULL DEFAULT 0
);
)sql"},
    // The mastery rule, kept with the records it judges; and what the child
    // page and the review read of a fact without going through its answers:
    // its latest first tries ("2024-05-01:1", newest first, at most as many
    // as the rule looks at), its latest first-try miss, its review box and
    // the local day it is due, and its right answer as the drill shows it.
    // Each set keeps its first tries, those right, the near-miss hints given
    // and the time of its latest answer, so that a child's kinds and recent
    // days are read from the sets and a few of their answers. The facts and
    // sets already kept are filled from their answers: a fact's box follows
    // from its run of first-try rights since its last miss.
    {R"sql(
CREATE TABLE rules (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  last_answers INTEGER NOT NULL,
  right_needed INTEGER NOT NULL,
  days_needed INTEGER NOT NULL,
  missed_within_days INTEGER NOT NULL
);
INSERT INTO rules VALUES (1, 10, 9, 3, 7);
ALTER TABLE facts ADD COLUMN latest TEXT NOT NULL DEFAULT '';
ALTER TABLE facts ADD COLUMN last_missed TEXT;
ALTER TABLE facts ADD COLUMN box INTEGER NOT NULL DEFAULT 0;
ALTER TABLE facts ADD COLUMN due TEXT;
ALTER TABLE facts ADD COLUMN right_answer TEXT NOT NULL DEFAULT '';
ALTER TABLE sets ADD COLUMN first_tries INTEGER NOT NULL DEFAULT 0;
ALTER TABLE sets ADD COLUMN first_right INTEGER NOT NULL DEFAULT 0;
ALTER TABLE sets ADD COLUMN smaller_multiple_hints INTEGER NOT NULL DEFAULT 0;
ALTER TABLE sets ADD COLUMN larger_divisor_hints INTEGER NOT NULL DEFAULT 0;
ALTER TABLE sets ADD COLUMN last_answered_at TEXT;
)sql",
     R"sql(
CREATE TEMP TABLE first_tries AS
  SELECT * FROM (
    SELECT s.child_id AS child_id, a.fact AS fact, a.right_answer AS right_answer,
      a.answered_at AS answered_at, (a.correct AND NOT a.answer_shown) AS right_first,
      row_number() OVER latest_first AS n,
      max(CASE WHEN a.correct AND NOT a.answer_shown THEN NULL ELSE a.answered_at END)
        OVER (PARTITION BY s.child_id, a.fact) AS last_missed
    FROM answers a JOIN sets s ON s.id = a.set_id
    WHERE a.attempt = 1
    WINDOW latest_first AS (PARTITION BY s.child_id, a.fact
                            ORDER BY a.answered_at DESC, a.id DESC))
  WHERE n <= 10;
CREATE TEMP TABLE fact_fill (
  child_id INTEGER, fact TEXT, latest TEXT, last_missed TEXT, right_answer TEXT,
  PRIMARY KEY (child_id, fact)
);
INSERT INTO fact_fill
  SELECT child_id, fact, latest, last_missed, right_answer FROM (
    SELECT child_id, fact, last_missed, right_answer, n,
      group_concat(date(answered_at, 'localtime') || ':' || right_first, ' ')
        OVER (PARTITION BY child_id, fact ORDER BY n
              ROWS BETWEEN CURRENT ROW AND UNBOUNDED FOLLOWING) AS latest
    FROM first_tries)
  WHERE n = 1;
UPDATE facts SET latest = f.latest, last_missed = f.last_missed, right_answer = f.right_answer
  FROM fact_fill f WHERE f.child_id = facts.child_id AND f.fact = facts.fact;
UPDATE facts SET box = min(5, 1 + streak) WHERE seen > 0;
UPDATE facts SET due = date(last_seen, 'localtime', '+' || (1 << (box - 1)) || ' days')
  WHERE box > 0;
DROP TABLE temp.first_tries;
DROP TABLE temp.fact_fill;
UPDATE sets SET first_tries = t.first_tries, first_right = t.first_right,
    smaller_multiple_hints = t.smaller_multiple_hints,
    larger_divisor_hints = t.larger_divisor_hints, last_answered_at = t.last_answered_at
  FROM (SELECT set_id, sum(attempt = 1) AS first_tries,
          sum(attempt = 1 AND correct AND NOT answer_shown) AS first_right,
          sum(hint IS 'smaller-multiple') AS smaller_multiple_hints,
          sum(hint IS 'larger-divisor') AS larger_divisor_hints,
          max(answered_at) AS last_answered_at
        FROM answers GROUP BY set_id) AS t
  WHERE t.set_id = sets.id;
)sql"},
    // How long the answers are kept: `months` NULL keeps every one. The
    // local day a drill last removed the older ones, so that it happens
    // once a day whichever program starts first.
    {R"sql(
CREATE TABLE keeping (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  months INTEGER CHECK (months IS NULL OR months >= 3),
  removed_on TEXT
);
INSERT INTO keeping VALUES (1, NULL, NULL);
)sql"},
    // The facts a child ever missed, in the order they fall due: the review
    // set reads its due facts from here without going through every fact.
    {R"sql(
CREATE INDEX facts_missed_by_due ON facts(child_id, due) WHERE seen > first_try_right;
)sql"},
    // A school's pupil plays as its own database role, and is the child whose
    // login that is. Empty in a family's file.
    {R"sql(
ALTER TABLE children ADD COLUMN login TEXT;
CREATE UNIQUE INDEX children_by_login ON children(login);
)sql"},
    // A pupil's answers wait in its own records file, and go to the school's
    // server from there in the order they came: each set and answer carries
    // an id of its own that the server takes once, so a sending repeated
    // after a lost connection adds nothing. The outbox holds what is still
    // to go: an answer, or the end of a set. A family's file leaves both
    // empty.
    {R"sql(
ALTER TABLE sets ADD COLUMN uid TEXT;
ALTER TABLE answers ADD COLUMN uid TEXT;
CREATE UNIQUE INDEX sets_by_uid ON sets(uid);
CREATE UNIQUE INDEX answers_by_uid ON answers(uid);
CREATE TABLE outbox (
  id INTEGER PRIMARY KEY,
  answer_id INTEGER REFERENCES answers(id) ON DELETE CASCADE,
  ended_set_id INTEGER REFERENCES sets(id) ON DELETE CASCADE
);
)sql"},
    // A school's pupil's child is named by its login (kNamedByLogin). A
    // family's file has no logins, and a pupil's own file names its child
    // by the login already: the file only takes the version.
    {nullptr, nullptr, kNamedByLogin},
    // Fast and right (fluency.h): whether the file holds the speed rule; each
    // child's base limit, which an adult sets; each fact's latest right first
    // tries' times (milliseconds, newest first, at most five), which its
    // usual time and the child's keying are read from; and the limit in
    // force at each answer (none where no limit was: a fact worked through,
    // the accuracy rule, the keying not yet known). A file made before keeps
    // the accuracy rule until an adult adopts the speed rule; one without a
    // child has shown nothing and takes it at once, as a new file does. The
    // facts' times are filled from the answers kept; the limits of the
    // answers given before stay none, as none was in force.
    {R"sql(
ALTER TABLE rules ADD COLUMN timed INTEGER NOT NULL DEFAULT 0;
ALTER TABLE children ADD COLUMN base_limit_ms INTEGER NOT NULL DEFAULT 3000;
ALTER TABLE facts ADD COLUMN right_times TEXT NOT NULL DEFAULT '';
ALTER TABLE answers ADD COLUMN limit_ms INTEGER;
)sql",
     R"sql(
UPDATE rules SET timed = 1 WHERE NOT EXISTS (SELECT 1 FROM children);
CREATE TEMP TABLE right_fill AS
  SELECT child_id, fact, times FROM (
    SELECT child_id, fact, n,
      group_concat(CAST(elapsed_ms AS TEXT), ' ')
        OVER (PARTITION BY child_id, fact ORDER BY n
              ROWS BETWEEN CURRENT ROW AND UNBOUNDED FOLLOWING) AS times
    FROM (
      SELECT s.child_id AS child_id, a.fact AS fact, a.elapsed_ms AS elapsed_ms,
        row_number() OVER (PARTITION BY s.child_id, a.fact
                           ORDER BY a.answered_at DESC, a.id DESC) AS n
      FROM answers a JOIN sets s ON s.id = a.set_id
      WHERE a.attempt = 1 AND a.correct AND NOT a.answer_shown)
    WHERE n <= 5)
  WHERE n = 1;
UPDATE facts SET right_times = f.times
  FROM right_fill f WHERE f.child_id = facts.child_id AND f.fact = facts.fact;
DROP TABLE temp.right_fill;
)sql",
     kTimedServer},
    // The day's practice (day_plan.h): each child's school year (none where
    // an adult has not given it), the day's length in problems (0: about ten
    // minutes), and whether its first days' placement still goes on; its
    // path when an adult changed it (path.h; without a row, the default
    // path of its year), with the step pinned as the day's; and the steps it
    // passed, on which local day and whether by placement. The children
    // already kept start their placement too: it reads what they have done.
    // "placing" is a word PostgreSQL keeps for itself: it is always quoted.
    {R"sql(
ALTER TABLE children ADD COLUMN grade INTEGER CHECK (grade IS NULL OR grade BETWEEN 1 AND 6);
ALTER TABLE children ADD COLUMN day_problems INTEGER NOT NULL DEFAULT 20;
ALTER TABLE children ADD COLUMN "placing" INTEGER NOT NULL DEFAULT 1;
CREATE TABLE paths (
  child_id INTEGER NOT NULL REFERENCES children(id) ON DELETE CASCADE,
  steps TEXT NOT NULL,
  pinned TEXT,
  PRIMARY KEY (child_id)
);
CREATE TABLE steps_passed (
  child_id INTEGER NOT NULL REFERENCES children(id) ON DELETE CASCADE,
  step TEXT NOT NULL,
  passed_on TEXT NOT NULL,
  by_placement INTEGER NOT NULL,
  PRIMARY KEY (child_id, step)
);
)sql"},
};

// What only a server has. Each child is a row whose login is the database
// role it plays as; a pupil's role joins the pupils' group, a teacher's the
// teachers'. The tables belong to the role that ran this, and nobody else
// may change them.
const char* const kServerOnly[] = {
    R"sql(DO $$
BEGIN
  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'numirabairo_pupils') THEN
    CREATE ROLE numirabairo_pupils NOLOGIN;
  END IF;
  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'numirabairo_teachers') THEN
    CREATE ROLE numirabairo_teachers NOLOGIN;
  END IF;
END
$$)sql",
    "ALTER TABLE children ALTER COLUMN login SET DEFAULT current_user",
    "ALTER TABLE children ENABLE ROW LEVEL SECURITY",
    "ALTER TABLE sets ENABLE ROW LEVEL SECURITY",
    "ALTER TABLE answers ENABLE ROW LEVEL SECURITY",
    "ALTER TABLE facts ENABLE ROW LEVEL SECURITY",
    "CREATE POLICY own_child ON children TO numirabairo_pupils "
    "USING (login = current_user) WITH CHECK (login = current_user)",
    "CREATE POLICY own_sets ON sets TO numirabairo_pupils "
    "USING (child_id IN (SELECT id FROM children WHERE login = current_user)) "
    "WITH CHECK (child_id IN (SELECT id FROM children WHERE login = current_user))",
    "CREATE POLICY own_answers ON answers TO numirabairo_pupils "
    "USING (set_id IN (SELECT s.id FROM sets s JOIN children c ON c.id = s.child_id "
    "WHERE c.login = current_user)) "
    "WITH CHECK (set_id IN (SELECT s.id FROM sets s JOIN children c ON c.id = s.child_id "
    "WHERE c.login = current_user))",
    "CREATE POLICY own_facts ON facts TO numirabairo_pupils "
    "USING (child_id IN (SELECT id FROM children WHERE login = current_user)) "
    "WITH CHECK (child_id IN (SELECT id FROM children WHERE login = current_user))",
    "CREATE POLICY whole_class ON children FOR SELECT TO numirabairo_teachers USING (true)",
    "CREATE POLICY whole_class ON sets FOR SELECT TO numirabairo_teachers USING (true)",
    "CREATE POLICY whole_class ON answers FOR SELECT TO numirabairo_teachers USING (true)",
    "CREATE POLICY whole_class ON facts FOR SELECT TO numirabairo_teachers USING (true)",
    "REVOKE ALL ON ALL TABLES IN SCHEMA public FROM PUBLIC",
    "GRANT SELECT, INSERT, UPDATE ON children, sets, answers, facts TO numirabairo_pupils",
    "GRANT USAGE ON ALL SEQUENCES IN SCHEMA public TO numirabairo_pupils",
    "GRANT SELECT ON children, sets, answers, facts TO numirabairo_teachers",
    "GRANT SELECT ON rules, keeping, records_version TO numirabairo_pupils, numirabairo_teachers",
};

} // namespace

std::span<const Migration> migrations() { return kMigrations; }

int schemaVersion() { return static_cast<int>(migrations().size()); }

QStringList statementsOf(const char* text)
{
    QStringList statements;
    if (!text) return statements;
    for (const QString& statement : QString::fromUtf8(text).split(u';', Qt::SkipEmptyParts))
        if (!statement.trimmed().isEmpty()) statements << statement.trimmed();
    return statements;
}

QStringList serverStatements(const Migration& migration)
{
    QStringList statements;
    for (const QString& statement : statementsOf(migration.schema))
        statements << serverDialect().schemaStatement(statement);
    for (const char* statement : migration.server) statements << QString::fromUtf8(statement);
    statements << QStringLiteral("UPDATE records_version SET version = version + 1");
    return statements;
}

QStringList serverSchema()
{
    // The version as a row, one up for each migration: a server has no
    // header to keep it in.
    QStringList statements{QStringLiteral("CREATE TABLE records_version (version BIGINT NOT NULL)"),
                           QStringLiteral("INSERT INTO records_version VALUES (0)")};
    for (const Migration& m : kMigrations) statements << serverStatements(m);
    for (const char* statement : kServerOnly) statements << QString::fromUtf8(statement);
    return statements;
}

} // namespace common::records
