#pragma once
// The line a watched tool appends to the file named by CARDMEND_COMMAND_LOG (nothing
// without the variable): its file name in lower case, its raw command line and its show
// state ("-" when the starter gave none), separated by tabs.
void RecordCommand();
// The line a tool that takes a while appends when it ends: its file name, an empty command
// line and "ended".
void RecordEnd();
