// The real question and message boxes: captions, buttons and results.

#include "QuestionDialog.h"
#include "AppTestSupport.h"
#include "IDialogs.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace lumidrax {
namespace {

TEST(QuestionDialog, ButtonsGiveTheirResults)
{
    auto answerWith = [](const QString& button) {
        test::WhenModalOpens([button](QWidget& dialog) {
            for (QPushButton* b : dialog.findChildren<QPushButton*>())
                if (b->text() == button)
                    b->click();
        });
    };
    {
        QuestionDialog d(QuestionDialog::Kind::YesNoCancel, "Close", "Save all unsaved charts ?");
        QStringList buttons;
        for (QPushButton* b : d.findChildren<QPushButton*>())
            buttons << b->text();
        EXPECT_EQ(buttons, (QStringList{"&Yes", "&No", "&Cancel"}));
        EXPECT_EQ(d.windowTitle(), "Close");
        EXPECT_EQ(d.minimumSize(), d.maximumSize());
        answerWith("&No");
        EXPECT_EQ(d.Ask(), kAnswerNo);
    }
    {
        QuestionDialog d(QuestionDialog::Kind::YesNoCancel, "Close", "text");
        answerWith("&Cancel");
        EXPECT_EQ(d.Ask(), kAnswerCancel);
    }
    {
        QuestionDialog d(QuestionDialog::Kind::YesNo, "Save", "text");
        EXPECT_EQ(d.findChildren<QPushButton*>().size(), 2);
        answerWith("&Yes");
        EXPECT_EQ(d.Ask(), kAnswerYes);
    }
    {
        QuestionDialog d(QuestionDialog::Kind::Message, "Error", "Error: noise on line.");
        const auto buttons = d.findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 1);
        EXPECT_EQ(buttons[0]->text(), "Thank you");
        auto* label = d.findChild<QLabel*>("lbl_text");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), "Error: noise on line.");
        EXPECT_TRUE(label->wordWrap());
        EXPECT_EQ(label->alignment(), Qt::AlignCenter);
        answerWith("Thank you");
        EXPECT_EQ(d.Ask(), 1);
    }
}

} // namespace
} // namespace lumidrax
