#pragma once

#include <QString>

class QComboBox;

// Port lists hold texts such as "Com7": three letters, then the port number.
// They are kept in ascending port order by the code, not by the control.

// The number after the first three characters (leading digits only), 0 when
// there is none.
int PortNumberOfText(const QString& text);
QString PortText(int port); // "Com<n>"

// Inserts before the first item with a greater port number; an empty text or
// one the list already holds (ignoring case) is left out.
void AddPortInOrder(QComboBox& list, const QString& text);
void RemovePortText(QComboBox& list, const QString& text);
// No selection when the list does not hold the text.
void SelectPortText(QComboBox& list, const QString& text);
