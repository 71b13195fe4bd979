{ Prints a binary component stream file as Free Pascal's ObjectBinaryToText
  prints it. A file that starts with the resource wrapper byte 0xFF is first
  unwrapped with ObjectResourceToText. }
program fpc_totext;
{$mode objfpc}{$H+}
uses Classes, SysUtils;
var
  input: TFileStream;
  output: TStringStream;
  first: Byte;
begin
  if ParamCount <> 1 then
  begin
    WriteLn(StdErr, 'usage: fpc_totext FILE');
    Halt(2);
  end;
  input := TFileStream.Create(ParamStr(1), fmOpenRead);
  output := TStringStream.Create('');
  try
    try
      first := 0;
      if input.Size > 0 then
        input.ReadBuffer(first, 1);
      input.Position := 0;
      if first = $FF then
        ObjectResourceToText(input, output)
      else
        ObjectBinaryToText(input, output);
      Write(output.DataString);
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
