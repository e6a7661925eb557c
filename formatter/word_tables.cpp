#include "formatter/word_tables.h"

namespace vornette {

const std::string_view SeparatorChars[23] = {
    "(", ",", "-", "~", "*",  "(", ")", "|", "{", "}", "\t", "[",
    "]", "<", ">", "=", "\"", "'", " ", ",", "?", ":", "+",
};

const std::string_view BlockOpenWords[11] = {
    "def", "deffct", "DEFDAT", "if", "loop", "repeat", "for", ";fold", "switch", "while", "else",
};
const std::string_view BlockCloseWords[11] = {
    "endfor",   "endif",  "endwhile",  "endloop", "end",   "ENDDAT",
    ";endfold", "endfct", "endswitch", "else",    "until",
};
const std::string_view CaseOpenWords[3] = {"SWITCH", "case", "default"};
const std::string_view CaseCloseWords[3] = {"case", "default", "endswitch"};
const std::string_view RoutineWords[6] = {"def", "deffct", "defdat", "end", "endfct", "enddat"};

const std::string_view ProgramFlowStrings[37] = {
    "continue", "case",   "decl",      "def",    "do",       "defdat", ";endfold", "default",
    "deffct",   "endfor", "enum",      "endif",  "endwhile", "else",   "endloop",  "end",
    "endfct",   "enddat", "endswitch", "ext",    "exit",     "for",    ";fold",    "halt",
    "if",       "loop",   "prio",      "repeat", "return",   "resume", "switch",   "step",
    "then",     "to",     "until",     "while",  "when",
};
const std::string_view SetupCommandStrings[25] = {
    "$pro_act",  "$CONF_MESS", "A",          "base",      "base_no", "B",     "cp_dat",
    "C",         "ex_base",    "ERR_TO_PLC", "fdat",      "frames",  "group", "interrupt",
    "ipo_frame", "ldat",       "out_sync",   "out_async", "odat",    "sec",   "tool_no",
    "tool",      "X",          "Y",          "Z",
};
const std::string_view MotionCommandStrings[18] = {
    "$POS_ACT",   "#fast", "#normal", "#slow",   "#veryslow", "#medium",
    "#extraslow", "#path", "brake",   "circ",    "c_ptp",     "c_vel",
    "c_dis",      "c_ori", "lin",     "lin_rel", "ptp",       "ptp_rel",
};
const std::string_view MathAndFunctionStrings[19] = {
    "and",   "abs", "acos", "atan2", "b_and", "b_exor", "b_not", "b_or", "cos",  "exor",
    "false", "not", "or",   "off",   "on",    "sin",    "sqrt",  "tan",  "true",
};
const std::string_view IOCommandStrings[10] = {
    "#open_gr", "#close_gr", "distance", "delay",   "mess",
    "pulse",    "path",      "signal",   "trigger", "wait",
};
const std::string_view TypeDefinitionStrings[10] = {
    "axis", "bool", "char", "e6pos", "e6axis", "frame", "int", "pos", "real", "struc",
};
const std::string_view SystemVariableStrings[9] = {
    "$ipo_mode", "$out", "$in", "$timer_stop", "$cycflag", "$timer", "$flag", "$mode_op", "$MSG_T",
};
const std::string_view OpusTechFunctionStrings[9] = {
    "appro",    "appros",  "depart",  "departs",  "errorout",
    "linspeed", "newtool", "newbase", "setspeed",
};

std::span<const std::string_view> WordTableOf(KeywordCategory category) {
  switch (category) {
    case KeywordCategory::ProgramFlow:
      return ProgramFlowStrings;
    case KeywordCategory::SetupCommand:
      return SetupCommandStrings;
    case KeywordCategory::MotionCommand:
      return MotionCommandStrings;
    case KeywordCategory::MathAndFunction:
      return MathAndFunctionStrings;
    case KeywordCategory::IOCommand:
      return IOCommandStrings;
    case KeywordCategory::TypeDefinition:
      return TypeDefinitionStrings;
    case KeywordCategory::SystemVariable:
      return SystemVariableStrings;
    case KeywordCategory::OpusTechFunction:
      return OpusTechFunctionStrings;
  }
  return {};
}

const std::string_view QuoteChars[2] = {"\"", "'"};

}  // namespace vornette
