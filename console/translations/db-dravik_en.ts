<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Check</name>
    <message numerus="yes">
        <source>%1 bytes</source>
        <translation>
            <numerusform>%1 byte</numerusform>
            <numerusform>%1 bytes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the run only empties it and the second script (SQL/Upd.sql) writes it: %1 rows now, not compared</source>
        <translation>
            <numerusform>the run only empties it and the second script (SQL/Upd.sql) writes it: %1 row now, not compared</numerusform>
            <numerusform>the run only empties it and the second script (SQL/Upd.sql) writes it: %1 rows now, not compared</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>... %1 differences in all</source>
        <translation>
            <numerusform>... %1 difference in all</numerusform>
            <numerusform>... %1 differences in all</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 source rows without a matching description are not moved, as the run does</source>
        <translation>
            <numerusform>%1 source row without a matching description is not moved, as the run does</numerusform>
            <numerusform>%1 source rows without a matching description are not moved, as the run does</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 references were meant to be -1: no new key for the source&apos;s key</source>
        <translation>
            <numerusform>%1 reference was meant to be -1: no new key for the source&apos;s key</numerusform>
            <numerusform>%1 references were meant to be -1: no new key for the source&apos;s key</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 source rows have no destination row to update</source>
        <translation>
            <numerusform>%1 source row has no destination row to update</numerusform>
            <numerusform>%1 source rows have no destination row to update</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Verdict: %1 differences (marked above).</source>
        <translation>
            <numerusform>Verdict: %1 difference (marked above).</numerusform>
            <numerusform>Verdict: %1 differences (marked above).</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Findings</name>
    <message numerus="yes">
        <source>%1 source rows</source>
        <translation>
            <numerusform>%1 source row</numerusform>
            <numerusform>%1 source rows</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Plan</name>
    <message numerus="yes">
        <source>%1 rows</source>
        <translation>
            <numerusform>%1 row</numerusform>
            <numerusform>%1 rows</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 lines</source>
        <translation>
            <numerusform>%1 line</numerusform>
            <numerusform>%1 lines</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 table copies</source>
        <translation>
            <numerusform>%1 table copy</numerusform>
            <numerusform>%1 table copies</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 destination rows deleted</source>
        <translation>
            <numerusform>%1 destination row deleted</numerusform>
            <numerusform>%1 destination rows deleted</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 source rows read</source>
        <translation>
            <numerusform>%1 source row read</numerusform>
            <numerusform>%1 source rows read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 generators</source>
        <translation>
            <numerusform>%1 generator</numerusform>
            <numerusform>%1 generators</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 warnings</source>
        <translation>
            <numerusform>%1 warning</numerusform>
            <numerusform>%1 warnings</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 errors</source>
        <translation>
            <numerusform>%1 error</numerusform>
            <numerusform>%1 errors</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 statements</source>
        <translation>
            <numerusform>%1 statement</numerusform>
            <numerusform>%1 statements</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 in %2 blocks of the log</source>
        <translation>
            <numerusform>%1 in %2 block of the log</numerusform>
            <numerusform>%1 in %2 blocks of the log</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message numerus="yes">
        <source>%1: %2 rows in %3 s</source>
        <translation>
            <numerusform>%1: %2 row in %3 s</numerusform>
            <numerusform>%1: %2 rows in %3 s</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message numerus="yes">
        <source>db-dravik: the run was not started: its plan names %1 errors, and nothing was written.</source>
        <translation>
            <numerusform>db-dravik: the run was not started: its plan names %1 error, and nothing was written.</numerusform>
            <numerusform>db-dravik: the run was not started: its plan names %1 errors, and nothing was written.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sizes</name>
    <message numerus="yes">
        <source>%1 (%2 bytes)</source>
        <translation>
            <numerusform>%1 (%2 byte)</numerusform>
            <numerusform>%1 (%2 bytes)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Summary</name>
    <message numerus="yes">
        <source>%1 differences</source>
        <translation>
            <numerusform>%1 difference</numerusform>
            <numerusform>%1 differences</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Rows copied: %1 of %2 read</source>
        <translation>
            <numerusform>Rows copied: %1 of %2 read</numerusform>
            <numerusform>Rows copied: %1 of %2 read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source> (%1 events and alarms not read: no description matches their codes)</source>
        <translation>
            <numerusform> (%1 event or alarm not read: no description matches its codes)</numerusform>
            <numerusform> (%1 events and alarms not read: no description matches their codes)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Plan: %1 errors, run over with --force: those lines did not do their work</source>
        <translation>
            <numerusform>Plan: %1 error, run over with --force: those lines did not do their work</numerusform>
            <numerusform>Plan: %1 errors, run over with --force: those lines did not do their work</numerusform>
        </translation>
    </message>
</context>
</TS>
