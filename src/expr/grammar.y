/* The formula grammar. The parser only builds one small tree per statement;
   the code generator turns each completed statement into machine code. */

%code top {
#include <cstring>

#include "compiler_internal.h"
#include "expr/expr.h"

/* A fixed parser stack: deep nesting is reported, not grown into. */
#define YYINITDEPTH 200
#define YYMAXDEPTH 200
/* Untranslated messages: yyerror tells stack exhaustion apart by its text. */
#define YY_(Msgid) Msgid
}

%code requires {
#include <cstdint>
}

%code provides {
int qfexpr_lex(QFEXPR_STYPE* value);
void qfexpr_error(const char* message);
}

%define api.prefix {qfexpr_}
%define api.token.prefix {TOK_}
%define api.pure full
%expect 0

%union {
    double number;
    int32_t code;
    int32_t node;
}

%token <code> FUNC1 "function"
%token POWF "pow"
%token POWER "**"
%token VARX "x"
%token <number> NUMBER "number"
%nterm <node> expression

%left '+' '-'
%left '*' '/'
%left POWER
%precedence UMINUS

%%

program:
    statements
    ;

statements:
    %empty
  | statements statement
    ;

statement:
    expression ';'      { qf::detail::completeStatement($1); }
  | ';'
  | error ';'           { yyerrok; qf::detail::discardStatement(); }
    ;

expression:
    expression '+' expression           { $$ = qf::detail::makeNode(qf::ADD, $1, $3); }
  | expression '-' expression           { $$ = qf::detail::makeNode(qf::SUB, $1, $3); }
  | expression '*' expression           { $$ = qf::detail::makeNode(qf::MUL, $1, $3); }
  | expression '/' expression           { $$ = qf::detail::makeNode(qf::DIV, $1, $3); }
  | expression POWER expression         { $$ = qf::detail::makeNode(qf::POW, $1, $3); }
  | '-' expression %prec UMINUS         { $$ = qf::detail::makeNode(qf::MIN, $2, -1); }
  | FUNC1 '(' expression ')'            { $$ = qf::detail::makeNode($1, $3, -1); }
  | POWF '(' expression ',' expression ')' { $$ = qf::detail::makeNode(qf::POW, $3, $5); }
  | '(' expression ')'                  { $$ = $2; }
  | VARX                                { $$ = qf::detail::makeVariable(); }
  | NUMBER                              { $$ = qf::detail::makeNumber($1); }
    ;

%%

void qfexpr_error(const char* message) {
    if (std::strcmp(message, "memory exhausted") == 0) {
        qf::detail::reportErrorWithLine("parser stack overflow");
    } else {
        qf::detail::reportErrorWithLine(message);
    }
}

namespace qf {

int compileProgram() {
    detail::beginCompile();
    return qfexpr_parse();
}

}  // namespace qf
