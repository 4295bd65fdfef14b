#pragma once

class CChildWnd;

// Hands the host the commands that run the modal dialogs of this folder.
void InstallDialogCommands(CChildWnd& host);
