// Formats a few lines through the installed library; exit status 0 when the
// result is what vornette would save.
#include <vornette/vornette.h>

int main() {
  const vornette::FormatterSettings settings =
      vornette::SettingsFromIni("[Capitalization]\nCAP_ProgramFlowStrings=UpperCase\n");
  std::string formatted;
  std::string error;
  if (!vornette::FormatText("if x==1 then\ny\nendif", settings, &formatted, &error)) return 1;
  return formatted == "IF x == 1 THEN\r\n  y\r\nENDIF\r\n" ? 0 : 2;
}
