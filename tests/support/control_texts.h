#pragma once
// A window's texts as one table: each control with the text the user sees on it
// (its "text" property: labels, buttons, check boxes, fields).

#include <QString>
#include <QVariant>
#include <QWidget>
#include <gtest/gtest.h>
#include <initializer_list>

struct ControlText {
    const QWidget *control;
    const char *text; // UTF-8
};

inline void ExpectControlTexts(std::initializer_list<ControlText> table)
{
    for (const ControlText &row : table) {
        ASSERT_NE(row.control, nullptr) << "a control of the table is missing (expected \"" << row.text << "\")";
        const std::string name = row.control->objectName().toStdString();
        const QVariant text = row.control->property("text");
        EXPECT_TRUE(text.isValid()) << name << " shows no text";
        EXPECT_EQ(text.toString(), QString::fromUtf8(row.text)) << name;
    }
}
