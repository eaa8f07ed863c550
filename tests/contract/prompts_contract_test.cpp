// Message boxes as the setup relies on them, asserted alike against USER32
// (under Wine, a helper thread presses the button) and the scripted prompts.
#include <gtest/gtest.h>

#include <string>

#include "contract/contract_subject.h"

namespace vk::contract {
namespace {

const std::string kCaption = "Varnok软件安装";

class PromptsContract : public ::testing::Test {
protected:
    IPrompts& prompts() { return scratch_->Prompts(); }
    std::unique_ptr<PromptScratch> scratch_ = MakePromptScratch();
};

TEST_F(PromptsContract, WithoutAnOpenWindowThereIsNoMainWindow) {
    EXPECT_EQ(prompts().MainWindow(), WindowRef{0});
}

TEST_F(PromptsContract, AnswersWithThePressedButton) {
    scratch_->AnswerNext(kCaption, kIdNo);
    EXPECT_EQ(prompts().MessageBox(0, "继续?", kCaption, kMbYesNo | kMbIconQuestion), kIdNo);

    scratch_->AnswerNext(kCaption, kIdIgnore);
    EXPECT_EQ(prompts().MessageBox(0, "拷贝文件 x 失败", kCaption, kMbAbortRetryIgnore), kIdIgnore);

    scratch_->AnswerNext(kCaption, kIdOk);
    EXPECT_EQ(prompts().MessageBox(0, "请关闭AutoCAD后再进行安装 !", kCaption, kMbOk), kIdOk);
}

}  // namespace
}  // namespace vk::contract
