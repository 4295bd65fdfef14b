#pragma once
#include "ui/dialog_runner.h"

// The dialogs that the hosts run (a ModalDialogRunner): each runs inside
// its construction and is gone when this returns.
void RunModalDialog(int templateId, const DialogHost& host, const char* path);
