#include <gtest/gtest.h>

#include "platform/scriptcontrol/vbscript/vb_parser.h"
#include "platform/vbscript/parser/ast_dump.h"

namespace {

using namespace scriptcontrol::vbscript;
using vbtest::Dump;
using vbtest::ErrorOf;
using Kind = ProcedureDecl::Kind;

TEST(VbDeclarations, ProceduresArePulledOutOfTheBody) {
  Program p = ParseProgram(
      "x = 1\n"
      "Sub Greet(ByVal name, ByRef count, items())\n"
      "  MsgBox name\n"
      "  Exit Sub\n"
      "End Sub\n"
      "Private Function Twice(n)\n"
      "  Twice = n * 2\n"
      "  If n > 9 Then Exit Function\n"
      "End Function\n"
      "Public Sub NoArgs\nEnd Sub\n"
      "y = 2");
  EXPECT_EQ(Dump(p.body), "[(let x 1) (let y 2)]");
  ASSERT_EQ(p.procedures.size(), 3u);
  const ProcedureDecl& greet = *p.procedures[0];
  EXPECT_EQ(greet.kind, Kind::Sub);
  EXPECT_EQ(greet.name, "Greet");
  EXPECT_EQ(greet.visibility, Visibility::Default);
  EXPECT_EQ(greet.pos.line, 2);
  ASSERT_EQ(greet.params.size(), 3u);
  EXPECT_TRUE(greet.params[0].byVal);
  EXPECT_EQ(greet.params[0].name, "name");
  EXPECT_FALSE(greet.params[1].byVal);
  EXPECT_TRUE(greet.params[2].isArray);
  EXPECT_EQ(greet.params[2].pos.column, 36);
  EXPECT_EQ(Dump(greet.body), "[(callstmt (call MsgBox name)) (exit sub)]");
  const ProcedureDecl& twice = *p.procedures[1];
  EXPECT_EQ(twice.kind, Kind::Function);
  EXPECT_EQ(twice.visibility, Visibility::Private);
  EXPECT_EQ(Dump(twice.body), "[(let Twice (* n 2)) (if ((> n 9) [(exit function)]))]");
  EXPECT_EQ(p.procedures[2]->visibility, Visibility::Public);
  EXPECT_TRUE(p.procedures[2]->params.empty());
}

TEST(VbDeclarations, Classes) {
  Program p = ParseProgram(
      "Class Counter\n"
      "  Private count_, items(3)\n"
      "  Dim loose\n"
      "  Public Name\n"
      "  Private Sub Class_Initialize()\n"
      "    count_ = 0\n"
      "  End Sub\n"
      "  Public Default Property Get Value()\n"
      "    Value = count_\n"
      "  End Property\n"
      "  Public Property Let Value(v)\n"
      "    count_ = v\n"
      "    Exit Property\n"
      "  End Property\n"
      "  Property Set Target(o): End Property\n"
      "  Function Add(n)\n"
      "    count_ = count_ + n\n"
      "  End Function\n"
      "End Class\n"
      "Set c = New Counter");
  EXPECT_EQ(Dump(p.body), "[(set c (new Counter))]");
  EXPECT_TRUE(p.procedures.empty());
  ASSERT_EQ(p.classes.size(), 1u);
  const ClassDecl& cls = *p.classes[0];
  EXPECT_EQ(cls.name, "Counter");
  ASSERT_EQ(cls.fields.size(), 3u);
  EXPECT_EQ(Dump(*cls.fields[0]), "(dim private count_ items(3))");
  EXPECT_EQ(Dump(*cls.fields[1]), "(dim loose)");
  EXPECT_EQ(Dump(*cls.fields[2]), "(dim public Name)");
  ASSERT_EQ(cls.members.size(), 5u);
  EXPECT_EQ(cls.members[0]->name, "Class_Initialize");
  EXPECT_EQ(cls.members[0]->visibility, Visibility::Private);
  EXPECT_EQ(cls.members[1]->kind, Kind::PropertyGet);
  EXPECT_TRUE(cls.members[1]->isDefault);
  EXPECT_EQ(cls.members[2]->kind, Kind::PropertyLet);
  EXPECT_FALSE(cls.members[2]->isDefault);
  EXPECT_EQ(Dump(cls.members[2]->body), "[(let count_ v) (exit property)]");
  EXPECT_EQ(cls.members[3]->kind, Kind::PropertySet);
  EXPECT_EQ(cls.members[3]->visibility, Visibility::Default);
  EXPECT_EQ(cls.members[4]->kind, Kind::Function);
}

TEST(VbDeclarations, DefaultMethods) {
  EXPECT_EQ(ErrorOf("Class A\nPublic Default Function F()\nEnd Function\nEnd Class"), "ok");
  EXPECT_EQ(ErrorOf("Class A\nPublic Default Sub S\nEnd Sub\nEnd Class"), "ok");
  EXPECT_EQ(ErrorOf("Class A\nPrivate Default Function F()\nEnd Function\nEnd Class"), "error 1057 at 2:9");
  EXPECT_EQ(ErrorOf("Class A\nDefault Function F()\nEnd Function\nEnd Class"), "error 1057 at 2:1");
  EXPECT_EQ(ErrorOf("Class A\nPublic Default Property Let P(v)\nEnd Property\nEnd Class"), "error 1058 at 2:25");
  EXPECT_EQ(ErrorOf("Class A\nPublic Default x\nEnd Class"), "error 1056 at 2:16");
  EXPECT_EQ(ErrorOf("Class A\nPublic Default Sub S\nEnd Sub\nPublic Default Function F\nEnd Function\nEnd Class"),
            "error 1052 at 4:8");
  EXPECT_EQ(ErrorOf("Public Default Sub S\nEnd Sub"), "error 1048 at 1:8");
}

TEST(VbDeclarations, ClassChecks) {
  EXPECT_EQ(ErrorOf("Class A\nSub Class_Initialize(x)\nEnd Sub\nEnd Class"), "error 1053 at 2:22");
  EXPECT_EQ(ErrorOf("Class A\nSub class_terminate(a, b)\nEnd Sub\nEnd Class"), "error 1053 at 2:21");
  EXPECT_EQ(ErrorOf("Class A\nProperty Let P\nEnd Property\nEnd Class"), "error 1054 at 2:15");
  EXPECT_EQ(ErrorOf("Class A\nProperty Set P()\nEnd Property\nEnd Class"), "error 1054 at 2:17");
  EXPECT_EQ(ErrorOf("Class A\nProperty Get P(i)\nEnd Property\nProperty Let P(v)\nEnd Property\nEnd Class"),
            "error 1051 at 4:1");
  EXPECT_EQ(ErrorOf("Class A\nProperty Get P(i)\nEnd Property\nProperty Let P(i, v)\nEnd Property\nEnd Class"), "ok");
  EXPECT_EQ(ErrorOf("Class A\nProperty P\nEnd Property\nEnd Class"), "error 1049 at 2:10");
  EXPECT_EQ(ErrorOf("Property Get P\nEnd Property"), "error 1048 at 1:1");
  EXPECT_EQ(ErrorOf("Class A\nx = 1\nEnd Class"), "error 1024 at 2:1");
  EXPECT_EQ(ErrorOf("Class A\nConst c = 1\nEnd Class"), "error 1024 at 2:1");
  EXPECT_EQ(ErrorOf("Class A\nEnd Sub"), "error 1047 at 2:5");
  EXPECT_EQ(ErrorOf("Class A\nDim x"), "error 1014 at 2:6");
}

TEST(VbDeclarations, OnlyAtTheTopLevel) {
  EXPECT_EQ(ErrorOf("Sub A\n Sub B\n End Sub\nEnd Sub"), "error 1024 at 2:2");
  EXPECT_EQ(ErrorOf("Function A\n Class B\n End Class\nEnd Function"), "error 1024 at 2:2");
  EXPECT_EQ(ErrorOf("If x Then\n Sub B\n End Sub\nEnd If"), "error 1024 at 2:2");
  EXPECT_EQ(ErrorOf("Sub A\n Private x\nEnd Sub"), "error 1024 at 2:2");
  EXPECT_EQ(ErrorOf("Sub A\n Dim x\n Const c = 1\nEnd Sub"), "ok");
  EXPECT_EQ(ErrorOf("Class A\nSub B\nClass C\nEnd Class\nEnd Sub\nEnd Class"), "error 1024 at 3:1");
}

TEST(VbDeclarations, MissingEnds) {
  EXPECT_EQ(ErrorOf("Sub A\nx = 1"), "error 1014 at 2:6");
  EXPECT_EQ(ErrorOf("Sub A\nEnd Function"), "error 1016 at 2:5");
  EXPECT_EQ(ErrorOf("Function A\nEnd Sub"), "error 1015 at 2:5");
  EXPECT_EQ(ErrorOf("Class A\nProperty Get P\nEnd Sub\nEnd Class"), "error 1050 at 3:5");
  EXPECT_EQ(ErrorOf("Sub A(x\nEnd Sub"), "error 1006 at 1:8");
  EXPECT_EQ(ErrorOf("Sub A(1)\nEnd Sub"), "error 1010 at 1:7");
  EXPECT_EQ(ErrorOf("Sub A x\nEnd Sub"), "error 1025 at 1:7");
  EXPECT_EQ(ErrorOf("Sub\nEnd Sub"), "error 1010 at 1:4");
}

TEST(VbDeclarations, ExitMustMatchItsProcedure) {
  EXPECT_EQ(ErrorOf("Sub A\n Exit Function\nEnd Sub"), "error 1039 at 2:7");
  EXPECT_EQ(ErrorOf("Function A\n Exit Sub\nEnd Function"), "error 1039 at 2:7");
  EXPECT_EQ(ErrorOf("Function A\n Exit Property\nEnd Function"), "error 1039 at 2:7");
  EXPECT_EQ(ErrorOf("Exit Sub"), "error 1039 at 1:6");
  EXPECT_EQ(ErrorOf("Sub A\n Do\n  Exit Do\n Loop\nEnd Sub"), "ok");
}

}  // namespace
