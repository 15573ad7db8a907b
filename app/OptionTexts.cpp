// Japanese texts of the command-line options; README.md gives each in English.
#include "app/OptionTexts.h"

#include "app/ProgressDialog.h"

namespace {

// A token longer than this is shown by its beginning and "...".
const int kShownTokenLength = 60;

const wchar_t kAcceptedForms[] = L"\n\n"
                                 L"書式: [/all] [/wait:秒数] [/noforce] EXEのフルパス\n"
                                 L"/all : そのEXEのプロセスをすべて終了します\n"
                                 L"/wait:秒数 : 強制終了まで待つ秒数です（1～3600、既定は10）\n"
                                 L"/noforce : 強制終了はしません\n"
                                 L"オプションはEXEのパスの前に、空白で区切って書きます。";

WideString QuotedToken(const WideString& token)
{
    WideString shown =
        token.Length() > kShownTokenLength ? token.Left(kShownTokenLength - 3).Concat(L"...") : token;
    return Concat(L"「", shown).Concat(L"」");
}

WideString Seconds(const CommandLineRequest& request)
{
    return WideString::FromInt(static_cast<int>(request.timeoutMs / 1000));
}

// Appends "、<label> <count>", one part of the result line.
void AppendCount(WideString& text, const wchar_t* label, int count)
{
    text.Append(L"、");
    text.Append(label);
    text.Append(L" ");
    text.Append(WideString::FromInt(count).CStr());
}

} // namespace

WideString OptionErrorText(const CommandLineRequest& request)
{
    const wchar_t* problem = L"";
    switch (request.error) {
    case OptionError::UnknownOption:
        problem = L"というオプションはありません。";
        break;
    case OptionError::BadWait:
        problem = L"の秒数が正しくありません。秒数は 1 から 3600 までの整数です。";
        break;
    case OptionError::NoTarget:
        problem = L"の後に、終了するEXEのパスがありません。";
        break;
    case OptionError::None:
        break;
    }
    return QuotedToken(request.badToken).Concat(problem).Concat(kAcceptedForms);
}

WideString UnderWayText(const CommandLineRequest& request)
{
    return WideString(request.allInstances ? L"のプロセスをすべて終了中" : L"のプロセスを終了中");
}

WideString TimeLimitText(const CommandLineRequest& request)
{
    return Seconds(request).Concat(request.force ? L"秒待って、閉じなければ強制終了します"
                                                 : L"秒待ちます（強制終了はしません）");
}

WideString OptionResultText(const CommandLineRequest& request, const TerminationCounts& counts)
{
    if (counts.Total() == 0)
        return WideString(ProgressResultText(TerminateOutcome::NotFound));
    if (!request.allInstances) {
        if (counts.leftRunning > 0)
            return WideString(L"のプロセスは実行中のまま残しました");
        return WideString(ProgressResultText(OutcomeOfOne(counts)));
    }

    WideString text(L"のプロセス終了: 正常 ");
    text.Append(WideString::FromInt(counts.endedNormally).CStr());
    if (request.force)
        AppendCount(text, L"強制", counts.endedByForce);
    else
        AppendCount(text, L"実行中のまま", counts.leftRunning);
    if (counts.endedByWowMethod > 0)
        AppendCount(text, L"16bit", counts.endedByWowMethod);
    if (counts.failed > 0)
        AppendCount(text, L"失敗", counts.failed);
    return text;
}
