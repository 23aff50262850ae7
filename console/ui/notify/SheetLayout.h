// The frame every settings sheet shares: its pages above the "OK" and
// "Abbrechen" buttons, which accept and reject the dialog.
#pragma once

class QDialog;
class QWidget;

void LayOutSheet(QDialog& sheet, QWidget* pages);
