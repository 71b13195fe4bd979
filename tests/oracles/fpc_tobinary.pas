{ Converts the text form of a component to a binary component stream file
  with Free Pascal's ObjectTextToBinary. }
program fpc_tobinary;
{$mode objfpc}{$H+}
uses Classes, SysUtils;
var
  input: TFileStream;
  output: TFileStream;
begin
  if ParamCount <> 2 then
  begin
    WriteLn(StdErr, 'usage: fpc_tobinary TEXTFILE OUTFILE');
    Halt(2);
  end;
  input := TFileStream.Create(ParamStr(1), fmOpenRead);
  output := TFileStream.Create(ParamStr(2), fmCreate);
  try
    try
      ObjectTextToBinary(input, output);
    except
      on E: Exception do
      begin
        WriteLn(StdErr, E.ClassName, ': ', E.Message);
        Halt(1);
      end;
    end;
  finally
    output.Free;
    input.Free;
  end;
end.
